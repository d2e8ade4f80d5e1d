#include "server/HttpServer.h"

#include "server/ChunkedBody.h"
#include "server/HttpAnswer.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/epoll.h>
#include <sys/eventfd.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <optional>
#include <regex>
#include <thread>
#include <unordered_map>
#include <vector>

namespace server {

namespace {

// epoll tags of the two descriptors that are not connections.
constexpr uint64_t kListenTag = 0;
constexpr uint64_t kWakeTag = 1;
// A connection ended after an answer keeps being read (and the bytes dropped) this long, so that the client
// sees the answer rather than a reset for the bytes it had still sent.
constexpr int kLingerMs = 2000;
// The most read from a socket at once, and the most of a file's content held for one connection.
constexpr size_t kPiece = 16 * 1024;
constexpr size_t kFilePiece = 64 * 1024;

int64_t NowMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

struct Route {
    std::string method;
    std::regex pattern;
    HttpServer::Handler handler;
    bool slow = false;
};

// One request on its way through a worker.
struct Job {
    uint64_t connection = 0;
    const Route* route = nullptr;
    std::unique_ptr<httplib::Request> request;
    std::unique_ptr<httplib::Response> response;
};

// Runs the route (none: 404) into a new answer.
std::unique_ptr<httplib::Response> RunRoute(const Route* route, const httplib::Request& req) {
    auto res = std::make_unique<httplib::Response>();
    if (!route) {
        res->status = 404;
        return res;
    }
    try {
        route->handler(req, *res);
    } catch (...) {
        res = std::make_unique<httplib::Response>();
        res->status = 500;
        res->set_content("internal error", "text/plain; charset=utf-8");
    }
    return res;
}

struct Connection {
    enum class Phase { Head, Body, Working, Writing, Lingering };
    uint64_t id = 0;
    int fd = -1;
    std::string address;
    Phase phase = Phase::Head;
    uint32_t watched = 0;  // the epoll events asked for
    int64_t deadline = 0;
    std::string in;  // read, not used yet
    bool keepAlive = true;
    // Phase::Body: what is left of a body read past.
    uint64_t bodyLeft = 0;
    std::optional<ChunkedBodySkipper> chunked;
    // Phase::Working and Phase::Writing: the request and its answer.
    std::unique_ptr<httplib::Request> request;
    std::unique_ptr<httplib::Response> response;
    std::string out;
    size_t sent = 0;
    uint64_t contentNext = 0, contentEnd = 0;  // the part of a content provider's bytes still to send
};

std::unique_ptr<httplib::Request> NewRequest(const RequestHead& head, const std::string& address) {
    auto req = std::make_unique<httplib::Request>();
    req->method = head.method;
    req->target = head.target;
    req->version = head.minorVersion == 1 ? "HTTP/1.1" : "HTTP/1.0";
    for (const auto& [name, value] : head.fields)
        req->headers.emplace(name, value);
    const size_t query = head.target.find('?');
    req->path = httplib::detail::decode_url(head.target.substr(0, query), false);
    if (query != std::string::npos)
        httplib::detail::parse_query_text(head.target.substr(query + 1), req->params);
    req->remote_addr = address;
    return req;
}

std::string PeerAddress(const sockaddr_storage& peer) {
    char text[INET6_ADDRSTRLEN] = "";
    if (peer.ss_family == AF_INET)
        inet_ntop(AF_INET, &reinterpret_cast<const sockaddr_in&>(peer).sin_addr, text, sizeof text);
    else if (peer.ss_family == AF_INET6)
        inet_ntop(AF_INET6, &reinterpret_cast<const sockaddr_in6&>(peer).sin6_addr, text, sizeof text);
    return text;
}

}  // namespace

class HttpServer::Loop {
public:
    // The wake-up counter exists from the start, so that Stop() may come from another thread at any time.
    explicit Loop(const ServerLimits& limits) : limits_(limits), wake_(eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC)) {}
    ~Loop() {
        CloseAll();
        if (wake_ >= 0)
            ::close(wake_);
    }

    void AddRoute(const std::string& method, const std::string& pattern, Handler handler, bool slow) {
        routes_.push_back({method, std::regex(pattern), std::move(handler), slow});
    }
    void SetAnswered(std::function<void(const httplib::Request&)> answered) { answered_ = std::move(answered); }
    int Bind(const std::string& host, int port);
    bool Run();
    void Stop() {
        stopping_ = true;
        Wake();
    }

private:
    // The workers' side.
    void Work();
    void Wake() const {
        const uint64_t one = 1;
        if (wake_ >= 0 && ::write(wake_, &one, sizeof one) < 0) {
            // The counter is already non-zero: the loop wakes anyway.
        }
    }

    // The watching thread's side.
    void Accept();
    void TakeAnswers();
    void OnEvent(Connection& c, uint32_t events);
    void Pump(uint64_t id);
    const Route* FindRoute(httplib::Request& req) const;
    void Read(Connection& c);
    void Advance(Connection& c);
    bool StartRequest(Connection& c, const RequestHead& head);
    void ReadBody(Connection& c);
    void Dispatch(Connection& c);
    void Refuse(Connection& c, int status);
    void StartAnswer(Connection& c);
    void Write(Connection& c);
    bool Refill(Connection& c);
    void Answered(Connection& c);
    void WaitForRequest(Connection& c);
    void Watch(Connection& c, uint32_t events);
    void Close(uint64_t id);
    void SweepDeadlines();
    void CloseAll();

    const ServerLimits limits_;
    std::vector<Route> routes_;
    std::function<void(const httplib::Request&)> answered_;
    int listen_ = -1, epoll_ = -1;
    const int wake_;
    std::atomic<bool> stopping_{false};

    std::unordered_map<uint64_t, Connection> connections_;
    std::unordered_map<std::string, size_t> perAddress_;
    uint64_t nextId_ = kWakeTag + 1;
    size_t maxConnections_ = 0;

    std::mutex mutex_;
    std::condition_variable jobReady_;
    std::deque<Job> jobs_;
    std::vector<Job> answers_;
    bool workersStop_ = false;
};

int HttpServer::Loop::Bind(const std::string& host, int port) {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_PASSIVE;
    addrinfo* found = nullptr;
    if (getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &found) != 0)
        return -1;
    for (addrinfo* a = found; a && listen_ < 0; a = a->ai_next) {
        listen_ = socket(a->ai_family, a->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, a->ai_protocol);
        if (listen_ < 0)
            continue;
        const int yes = 1;
        setsockopt(listen_, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
        if (bind(listen_, a->ai_addr, a->ai_addrlen) != 0 || listen(listen_, 1024) != 0) {
            ::close(listen_);
            listen_ = -1;
        }
    }
    freeaddrinfo(found);
    sockaddr_storage bound{};
    socklen_t length = sizeof bound;
    if (listen_ < 0 || getsockname(listen_, reinterpret_cast<sockaddr*>(&bound), &length) != 0)
        return -1;
    return ntohs(bound.ss_family == AF_INET6 ? reinterpret_cast<sockaddr_in6&>(bound).sin6_port
                                             : reinterpret_cast<sockaddr_in&>(bound).sin_port);
}

bool HttpServer::Loop::Run() {
    epoll_ = epoll_create1(EPOLL_CLOEXEC);
    if (listen_ < 0 || epoll_ < 0 || wake_ < 0)
        return false;
    epoll_event event{};
    event.events = EPOLLIN;
    event.data.u64 = kListenTag;
    epoll_ctl(epoll_, EPOLL_CTL_ADD, listen_, &event);
    event.data.u64 = kWakeTag;
    epoll_ctl(epoll_, EPOLL_CTL_ADD, wake_, &event);
    // Connections stay well within the descriptors the process may open (each may hold a file it serves too),
    // so accept never fails for want of one: a listening socket that stays readable would keep the loop spinning.
    rlimit files{};
    getrlimit(RLIMIT_NOFILE, &files);
    if (files.rlim_cur < files.rlim_max) {
        files.rlim_cur = files.rlim_max;
        setrlimit(RLIMIT_NOFILE, &files);
        getrlimit(RLIMIT_NOFILE, &files);
    }
    const size_t spare = files.rlim_cur > 128 ? (static_cast<size_t>(files.rlim_cur) - 64) / 2 : 32;
    maxConnections_ = std::min(limits_.maxConnections, spare);

    std::vector<std::thread> workers;
    for (size_t i = 0; i < std::max<size_t>(limits_.workers, 1); ++i)
        workers.emplace_back([this] { Work(); });
    epoll_event events[256];
    int64_t lastSweep = NowMs();
    while (!stopping_) {
        const int count = epoll_wait(epoll_, events, 256, 250);
        for (int i = 0; i < count && !stopping_; ++i) {
            const uint64_t tag = events[i].data.u64;
            if (tag == kListenTag) {
                Accept();
            } else if (tag == kWakeTag) {
                TakeAnswers();
            } else if (auto it = connections_.find(tag); it != connections_.end()) {
                OnEvent(it->second, events[i].events);
                Pump(tag);
            }
        }
        if (NowMs() - lastSweep >= 250) {
            SweepDeadlines();
            lastSweep = NowMs();
        }
    }
    {
        std::lock_guard<std::mutex> lock(mutex_);
        workersStop_ = true;
    }
    jobReady_.notify_all();
    for (std::thread& worker : workers)
        worker.join();
    CloseAll();
    return true;
}

void HttpServer::Loop::Work() {
    std::unique_lock<std::mutex> lock(mutex_);
    while (true) {
        jobReady_.wait(lock, [this] { return workersStop_ || !jobs_.empty(); });
        if (workersStop_)
            return;
        Job job = std::move(jobs_.front());
        jobs_.pop_front();
        lock.unlock();
        job.response = RunRoute(job.route, *job.request);
        lock.lock();
        answers_.push_back(std::move(job));
        Wake();
    }
}

const Route* HttpServer::Loop::FindRoute(httplib::Request& req) const {
    const std::string method = req.method == "HEAD" ? "GET" : req.method;
    for (const Route& route : routes_) {
        if (route.method == method && std::regex_match(req.path, req.matches, route.pattern))
            return &route;
    }
    return nullptr;
}

void HttpServer::Loop::Accept() {
    while (true) {
        sockaddr_storage peer{};
        socklen_t length = sizeof peer;
        const int fd = accept4(listen_, reinterpret_cast<sockaddr*>(&peer), &length, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (fd < 0)
            return;
        const std::string address = PeerAddress(peer);
        size_t& fromAddress = perAddress_[address];
        if (connections_.size() >= maxConnections_ || (limits_.maxPerAddress && fromAddress >= limits_.maxPerAddress)) {
            if (fromAddress == 0)
                perAddress_.erase(address);
            ::close(fd);
            continue;
        }
        ++fromAddress;
        const int yes = 1;
        setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &yes, sizeof yes);
        const uint64_t id = nextId_++;
        Connection& c = connections_[id];
        c.id = id;
        c.fd = fd;
        c.address = address;
        epoll_event event{};
        event.data.u64 = id;
        epoll_ctl(epoll_, EPOLL_CTL_ADD, fd, &event);
        WaitForRequest(c);
    }
}

void HttpServer::Loop::TakeAnswers() {
    uint64_t count = 0;
    if (::read(wake_, &count, sizeof count) < 0) {
        // Nothing to take: another wake-up took it.
    }
    std::vector<Job> answers;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        answers.swap(answers_);
    }
    for (Job& job : answers) {
        auto it = connections_.find(job.connection);
        if (it == connections_.end())
            continue;  // the client went away meanwhile
        it->second.request = std::move(job.request);
        it->second.response = std::move(job.response);
        StartAnswer(it->second);
        Pump(job.connection);
    }
}

void HttpServer::Loop::OnEvent(Connection& c, uint32_t events) {
    if ((events & EPOLLERR) || ((events & EPOLLHUP) && !(events & EPOLLIN)))
        return Close(c.id);
    if (c.phase == Connection::Phase::Writing && (events & EPOLLOUT))
        return Write(c);
    if (events & (EPOLLIN | EPOLLHUP))
        Read(c);
}

// Answers what a pipelining client has sent already, request after request, while each is answered at once;
// stops when more must be read, a worker has the request, or the connection has ended.
void HttpServer::Loop::Pump(uint64_t id) {
    while (true) {
        auto it = connections_.find(id);
        if (it == connections_.end() || it->second.phase != Connection::Phase::Head || it->second.in.empty())
            return;
        const size_t before = it->second.in.size();
        Advance(it->second);
        it = connections_.find(id);
        if (it == connections_.end() || (it->second.phase == Connection::Phase::Head && it->second.in.size() == before))
            return;
    }
}

void HttpServer::Loop::Read(Connection& c) {
    char buffer[kPiece];
    const bool dropping = c.phase == Connection::Phase::Lingering;
    const size_t room = dropping ? sizeof buffer : std::min(sizeof buffer, limits_.head.maxHead - c.in.size());
    if (room == 0 || (c.phase != Connection::Phase::Head && c.phase != Connection::Phase::Body && !dropping))
        return;
    const ssize_t got = recv(c.fd, buffer, room, 0);
    if (got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR))
        return;
    if (got <= 0)
        return Close(c.id);
    if (dropping)
        return;
    if (c.phase == Connection::Phase::Head && c.in.empty())
        c.deadline = NowMs() + limits_.requestSeconds * 1000;
    const bool newLine = std::memchr(buffer, '\n', static_cast<size_t>(got)) != nullptr;
    c.in.append(buffer, static_cast<size_t>(got));
    // A head can only end at a line end, so a piece without one is not worth parsing again (a client sending
    // a byte at a time would make each parse go over the whole head), unless the head is at its limit.
    if (c.phase == Connection::Phase::Head && !newLine && c.in.size() < limits_.head.maxHead &&
        c.in.size() <= limits_.head.maxTarget)
        return;
    Advance(c);
}

// Uses what has been read: a head, then the body after it, until a request is whole or more is needed.
void HttpServer::Loop::Advance(Connection& c) {
    if (c.phase == Connection::Phase::Head) {
        if (c.in.empty())
            return;
        HeadParse parse = ParseRequestHead(c.in, limits_.head);
        if (parse.state == HeadParse::State::NeedMore)
            return;
        if (parse.state == HeadParse::State::Refused)
            return Refuse(c, parse.status);
        c.in.erase(0, parse.length);
        if (!StartRequest(c, parse.head))
            return;
    }
    if (c.phase == Connection::Phase::Body)
        ReadBody(c);
}

// A head has been read: refuses a body it cannot take, else reads past the body or hands the request on.
bool HttpServer::Loop::StartRequest(Connection& c, const RequestHead& head) {
    const BodyFraming framing = FramingOf(head);
    if (framing.kind == BodyFraming::Kind::Invalid) {
        Refuse(c, framing.status);
        return false;
    }
    if (framing.kind == BodyFraming::Kind::Length && framing.length > limits_.maxBody) {
        Refuse(c, 413);
        return false;
    }
    c.keepAlive = KeepsAlive(head);
    c.request = NewRequest(head, c.address);
    c.chunked.reset();
    c.bodyLeft = framing.length;
    if (framing.kind == BodyFraming::Kind::Chunked)
        c.chunked.emplace(limits_.maxBody);
    if (framing.kind == BodyFraming::Kind::None) {
        Dispatch(c);
        return false;
    }
    c.phase = Connection::Phase::Body;
    return true;
}

void HttpServer::Loop::ReadBody(Connection& c) {
    size_t used = 0;
    if (c.chunked) {
        used = c.chunked->Feed(c.in);
    } else {
        used = static_cast<size_t>(std::min<uint64_t>(c.bodyLeft, c.in.size()));
        c.bodyLeft -= used;
    }
    c.in.erase(0, used);
    const auto state = c.chunked ? c.chunked->GetState() : ChunkedBodySkipper::State::More;
    if (state == ChunkedBodySkipper::State::Malformed)
        return Refuse(c, 400);
    if (state == ChunkedBodySkipper::State::TooLarge)
        return Refuse(c, 413);
    if (state == ChunkedBodySkipper::State::Done || (!c.chunked && c.bodyLeft == 0))
        Dispatch(c);
}

// Runs the request's route at once, or hands it to a worker when the route is a slow one.
void HttpServer::Loop::Dispatch(Connection& c) {
    c.chunked.reset();
    const Route* route = FindRoute(*c.request);
    if (!route || !route->slow) {
        c.response = RunRoute(route, *c.request);
        return StartAnswer(c);
    }
    c.phase = Connection::Phase::Working;
    Watch(c, 0);
    {
        std::lock_guard<std::mutex> lock(mutex_);
        jobs_.push_back({c.id, route, std::move(c.request), nullptr});
    }
    jobReady_.notify_one();
}

void HttpServer::Loop::Refuse(Connection& c, int status) {
    c.request.reset();
    c.response.reset();
    c.keepAlive = false;
    c.in.clear();
    c.in.shrink_to_fit();
    c.out = RefusalAnswer(status);
    c.sent = 0;
    c.contentNext = c.contentEnd = 0;
    c.phase = Connection::Phase::Writing;
    c.deadline = NowMs() + limits_.writeSeconds * 1000;
    Write(c);
}

void HttpServer::Loop::StartAnswer(Connection& c) {
    httplib::Response& res = *c.response;
    const AnswerPlan plan = PlanAnswer(*c.request, res, !c.keepAlive);
    c.out = plan.head;
    c.sent = 0;
    c.contentNext = c.contentEnd = 0;
    if (res.content_provider_) {
        c.contentNext = plan.first;
        c.contentEnd = plan.first + plan.length;
    } else {
        c.out.append(res.body, static_cast<size_t>(plan.first), static_cast<size_t>(plan.length));
        res.body.clear();
    }
    c.phase = Connection::Phase::Writing;
    c.deadline = NowMs() + limits_.writeSeconds * 1000;
    Write(c);
}

void HttpServer::Loop::Write(Connection& c) {
    while (true) {
        if (c.sent == c.out.size()) {
            if (c.contentNext == c.contentEnd)
                return Answered(c);
            if (!Refill(c))
                return Close(c.id);
        }
        const ssize_t sent = send(c.fd, c.out.data() + c.sent, c.out.size() - c.sent, MSG_NOSIGNAL);
        if (sent < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR))
            return Watch(c, EPOLLOUT);
        if (sent <= 0)
            return Close(c.id);
        c.sent += static_cast<size_t>(sent);
        c.deadline = NowMs() + limits_.writeSeconds * 1000;
    }
}

// The next piece of a content provider's bytes; false when it gives none (a file that could not be read, or a
// fault a test plays): the connection then ends short, as the client's length check will see.
bool HttpServer::Loop::Refill(Connection& c) {
    c.out.clear();
    c.sent = 0;
    const uint64_t want = std::min<uint64_t>(kFilePiece, c.contentEnd - c.contentNext);
    httplib::DataSink sink;
    sink.write = [&c, want](const char* data, size_t size) {
        c.out.append(data, std::min<size_t>(size, static_cast<size_t>(want) - std::min<size_t>(want, c.out.size())));
        return true;
    };
    sink.is_writable = [] { return true; };
    sink.done = [] {};
    const bool ok = c.response->content_provider_(static_cast<size_t>(c.contentNext), static_cast<size_t>(want), sink);
    c.contentNext += c.out.size();
    return ok && !c.out.empty();
}

void HttpServer::Loop::Answered(Connection& c) {
    if (answered_ && c.request)
        answered_(*c.request);
    c.request.reset();
    if (c.response)
        c.response->content_provider_success_ = true;
    c.response.reset();
    c.out.clear();
    c.out.shrink_to_fit();
    if (c.keepAlive)
        return WaitForRequest(c);
    // The answer is out: no more is sent, and what the client still sends is read and dropped for a while.
    shutdown(c.fd, SHUT_WR);
    c.in.clear();
    c.in.shrink_to_fit();
    c.phase = Connection::Phase::Lingering;
    c.deadline = NowMs() + kLingerMs;
    Watch(c, EPOLLIN);
}

void HttpServer::Loop::WaitForRequest(Connection& c) {
    c.phase = Connection::Phase::Head;
    c.deadline = NowMs() + (c.in.empty() ? limits_.idleSeconds : limits_.requestSeconds) * 1000;
    if (c.in.capacity() > kPiece && c.in.size() < kPiece / 4)
        c.in.shrink_to_fit();
    Watch(c, EPOLLIN);
}

void HttpServer::Loop::Watch(Connection& c, uint32_t events) {
    if (c.watched == events)
        return;
    epoll_event event{};
    event.events = events;
    event.data.u64 = c.id;
    epoll_ctl(epoll_, EPOLL_CTL_MOD, c.fd, &event);
    c.watched = events;
}

void HttpServer::Loop::Close(uint64_t id) {
    auto it = connections_.find(id);
    if (it == connections_.end())
        return;
    Connection& c = it->second;
    epoll_ctl(epoll_, EPOLL_CTL_DEL, c.fd, nullptr);
    ::close(c.fd);
    auto count = perAddress_.find(c.address);
    if (count != perAddress_.end() && --count->second == 0)
        perAddress_.erase(count);
    connections_.erase(it);
}

// Ends the connections whose client let its time run out: idle, slow to send a request, or not reading its
// answer. A connection whose request is with a worker has no deadline.
void HttpServer::Loop::SweepDeadlines() {
    const int64_t now = NowMs();
    std::vector<uint64_t> late;
    for (const auto& [id, c] : connections_) {
        if (c.phase != Connection::Phase::Working && c.deadline <= now)
            late.push_back(id);
    }
    for (const uint64_t id : late)
        Close(id);
}

void HttpServer::Loop::CloseAll() {
    while (!connections_.empty())
        Close(connections_.begin()->first);
    for (int* fd : {&listen_, &epoll_}) {
        if (*fd >= 0)
            ::close(*fd);
        *fd = -1;
    }
}

HttpServer::HttpServer(const ServerLimits& limits) : loop_(std::make_unique<Loop>(limits)) {}
HttpServer::~HttpServer() = default;

void HttpServer::Get(const std::string& pattern, Handler handler, Speed speed) {
    loop_->AddRoute("GET", pattern, std::move(handler), speed == Speed::Slow);
}

void HttpServer::Post(const std::string& pattern, Handler handler, Speed speed) {
    loop_->AddRoute("POST", pattern, std::move(handler), speed == Speed::Slow);
}

void HttpServer::SetAnswered(std::function<void(const httplib::Request&)> answered) {
    loop_->SetAnswered(std::move(answered));
}

int HttpServer::Bind(const std::string& host, int port) {
    return loop_->Bind(host, port);
}

bool HttpServer::Run() {
    return loop_->Run();
}

void HttpServer::Stop() {
    loop_->Stop();
}

}  // namespace server
