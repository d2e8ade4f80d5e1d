// The suite's loopback HTTP server (a native Linux program). It serves canned replies per path and
// records every request so that tests can check what a client really sent. Control paths: see README.md.
//
// usage: test-http-server STATE_DIR [IDLE_SECONDS]
// Listens on 127.0.0.1 at a free port, writes that port to STATE_DIR/port, and serves until it is killed
// or no request has come for IDLE_SECONDS (default 300), so that an interrupted test run leaves nothing
// running for long.
#include <httplib.h>

#include <atomic>
#include <cctype>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace {

struct CannedReply {
    int status = 200;
    std::vector<std::pair<std::string, std::string>> headers;
    std::string body;
    long cutAfter = -1;  // when set: the whole length is announced, the connection breaks after this many bytes
    bool held = false;   // requests wait unanswered until the path is released
    bool slow = false;   // the body goes out one byte a second
};

// How long a held request waits at most, so that a test that never releases its path leaves no thread
// behind for long.
constexpr auto kLongestHold = std::chrono::seconds(90);

class ServerState {
public:
    void SetReply(const std::string& path, CannedReply reply) {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            replies_[path] = std::move(reply);
        }
        released_.notify_all();  // a held path given a plain reply answers its waiting requests
    }
    bool ReplyFor(const std::string& path, CannedReply& reply) {
        std::lock_guard<std::mutex> lock(mutex_);
        auto it = replies_.find(path);
        if (it == replies_.end()) return false;
        reply = it->second;
        return true;
    }
    // The reply canned for the request's exact target, else for its path; key is where it was found.
    bool ReplyFor(const httplib::Request& req, CannedReply& reply, std::string& key);
    // Waits while the reply at key is held (at most kLongestHold); then the reply as it stands.
    void WaitWhileHeld(const std::string& key, CannedReply& reply) {
        std::unique_lock<std::mutex> lock(mutex_);
        released_.wait_for(lock, kLongestHold, [&] { return !replies_[key].held; });
        reply = replies_[key];
        reply.held = false;
    }
    void Release(const std::string& key) {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            auto it = replies_.find(key);
            if (it != replies_.end()) it->second.held = false;
        }
        released_.notify_all();
    }
    void Record(std::string request) {
        std::lock_guard<std::mutex> lock(mutex_);
        records_.push_back(std::move(request));
    }
    // Each record whose target begins with prefix, as its length in decimal, "\n" and the record.
    std::string Records(const std::string& prefix) {
        std::lock_guard<std::mutex> lock(mutex_);
        std::string out;
        for (const std::string& r : records_) {
            const size_t targetStart = r.find(' ') + 1;
            if (r.compare(targetStart, prefix.size(), prefix) != 0) continue;
            out += std::to_string(r.size()) + "\n" + r;
        }
        return out;
    }

private:
    std::mutex mutex_;
    std::condition_variable released_;
    std::map<std::string, CannedReply> replies_;
    std::vector<std::string> records_;
};

bool EqualNoCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

// The request as it came: request line, header lines (grouped by name, each line as sent), blank line, body.
std::string RequestText(const httplib::Request& req) {
    std::string text = req.method + " " + req.target + " " + req.version + "\r\n";
    for (const auto& [name, value] : req.headers) {
        // The library adds the socket addresses as pseudo headers.
        if (name == "LOCAL_ADDR" || name == "LOCAL_PORT" || name == "REMOTE_ADDR" || name == "REMOTE_PORT") continue;
        text += name + ": " + value + "\r\n";
    }
    return text + "\r\n" + req.body;
}

// The path of a request sent to a proxy ("http://host:port/path") is looked up without its origin.
std::string OriginPath(const std::string& path) {
    if (path.rfind("http://", 0) != 0) return path;
    const size_t slash = path.find('/', 7);
    return slash == std::string::npos ? "/" : path.substr(slash);
}

bool ServerState::ReplyFor(const httplib::Request& req, CannedReply& reply, std::string& key) {
    for (const std::string& candidate : {OriginPath(req.target), OriginPath(req.path)})
        if (ReplyFor(candidate, reply)) {
            key = candidate;
            return true;
        }
    return false;
}

// "Name: value" lines, a blank line, then the body.
CannedReply ParseReply(const std::string& replyText, int status) {
    CannedReply reply;
    reply.status = status;
    if (replyText.rfind("\r\n", 0) == 0) {  // no header lines at all
        reply.body = replyText.substr(2);
        return reply;
    }
    const size_t end = replyText.find("\r\n\r\n");
    if (end == std::string::npos) {
        reply.body = replyText;
        return reply;
    }
    size_t start = 0;
    while (start < end) {
        size_t lineEnd = replyText.find("\r\n", start);
        const std::string line = replyText.substr(start, lineEnd - start);
        const size_t colon = line.find(':');
        if (colon != std::string::npos) {
            size_t valueStart = colon + 1;
            while (valueStart < line.size() && line[valueStart] == ' ') ++valueStart;
            reply.headers.emplace_back(line.substr(0, colon), line.substr(valueStart));
        }
        start = lineEnd + 2;
    }
    reply.body = replyText.substr(end + 4);
    return reply;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: test-http-server STATE_DIR [IDLE_SECONDS]\n");
        return 2;
    }
    const std::string stateDir = argv[1];
    const int idleSeconds = argc > 2 ? std::atoi(argv[2]) : 300;

    ServerState state;
    std::atomic<long long> lastRequest{0};
    auto now = [] {
        return std::chrono::duration_cast<std::chrono::seconds>(std::chrono::steady_clock::now().time_since_epoch())
            .count();
    };
    lastRequest = now();

    httplib::Server server;
    server.set_keep_alive_max_count(1);  // every reply closes its connection: no idle thread holds one
    // Held requests each keep a thread: enough of them that control requests still get one.
    server.new_task_queue = [] { return new httplib::ThreadPool(48); };

    server.Post("/_control/reply", [&](const httplib::Request& req, httplib::Response& res) {
        lastRequest = now();
        const int status = req.has_param("status") ? std::atoi(req.get_param_value("status").c_str()) : 200;
        CannedReply reply = ParseReply(req.body, status);
        if (req.has_param("cut")) reply.cutAfter = std::atol(req.get_param_value("cut").c_str());
        reply.held = req.has_param("hold");
        reply.slow = req.has_param("slow");
        state.SetReply(req.get_param_value("path"), std::move(reply));
        res.set_content("ok", "text/plain");
    });
    server.Post("/_control/release", [&](const httplib::Request& req, httplib::Response& res) {
        lastRequest = now();
        state.Release(req.get_param_value("path"));
        res.set_content("ok", "text/plain");
    });
    server.Get("/_control/requests", [&](const httplib::Request& req, httplib::Response& res) {
        lastRequest = now();
        res.set_content(state.Records(req.get_param_value("prefix")), "application/octet-stream");
    });
    auto serve = [&](const httplib::Request& req, httplib::Response& res) {
        lastRequest = now();
        state.Record(RequestText(req));
        CannedReply reply;
        std::string key;
        // A reply canned for the path with this very query comes first, then the one for the path.
        if (!state.ReplyFor(req, reply, key)) {
            res.status = 404;
            res.set_content("no reply configured for this path", "text/plain");
            return;
        }
        if (reply.held) state.WaitWhileHeld(key, reply);
        res.status = reply.status;
        std::string contentType = "text/html";
        for (const auto& [name, value] : reply.headers) {
            if (EqualNoCase(name, "Content-Type"))
                contentType = value;
            else
                res.headers.emplace(name, value);
        }
        if (reply.slow) {
            const std::string body = reply.body;
            res.set_content_provider(body.size(), contentType, [body](size_t offset, size_t, httplib::DataSink& sink) {
                std::this_thread::sleep_for(std::chrono::seconds(1));
                return sink.write(body.data() + offset, 1);
            });
            return;
        }
        if (reply.cutAfter < 0 || size_t(reply.cutAfter) >= reply.body.size()) {
            res.set_content(reply.body, contentType.c_str());
            return;
        }
        const std::string sent = reply.body.substr(0, size_t(reply.cutAfter));
        res.set_content_provider(reply.body.size(), contentType,
                                 [sent](size_t offset, size_t, httplib::DataSink& sink) {
                                     if (offset < sent.size()) sink.write(sent.data() + offset, sent.size() - offset);
                                     return false;  // breaks the connection short of the announced length
                                 });
    };
    server.Get(".*", serve);  // HEAD too
    server.Post(".*", serve);
    server.Put(".*", serve);
    server.Delete(".*", serve);
    server.Options(".*", serve);
    server.Patch(".*", serve);

    const int port = server.bind_to_any_port("127.0.0.1");
    if (port <= 0) {
        std::fprintf(stderr, "test-http-server: cannot listen on 127.0.0.1\n");
        return 1;
    }
    {
        const std::string temp = stateDir + "/port.tmp";
        std::ofstream(temp) << port << "\n";
        std::rename(temp.c_str(), (stateDir + "/port").c_str());
    }
    std::atomic<bool> done{false};
    std::thread watchdog([&] {
        while (!done) {
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
            if (now() - lastRequest > idleSeconds) server.stop();
        }
    });
    server.listen_after_bind();
    done = true;
    watchdog.join();
    return 0;
}
