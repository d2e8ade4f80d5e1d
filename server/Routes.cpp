#include "server/Routes.h"

#include "server/DemoSites.h"
#include "server/GetAndPost.h"
#include "server/HttpServer.h"
#include "server/Manifests.h"
#include "server/ReleaseStore.h"
#include "server/ReportCheck.h"
#include "server/StatsPage.h"
#include "server/StoreNames.h"

#include <httplib.h>

#include <atomic>
#include <fstream>
#include <memory>
#include <optional>

namespace server {

namespace {

constexpr char kStatsPath[] = "/pm/sd_mgr/pts/web/";
constexpr int kStatsDays = 30;

void Answer(httplib::Response& res, int status, const std::string& text) {
    res.status = status;
    res.set_content(text, "text/plain; charset=utf-8");
}

// A product id: 1 to 9 decimal digits, nothing else.
std::optional<int> ProductId(const httplib::Request& req) {
    if (!req.has_param("p_id"))
        return std::nullopt;
    const std::string text = req.get_param_value("p_id");
    if (text.empty() || text.size() > 9 || text.find_first_not_of("0123456789") != std::string::npos)
        return std::nullopt;
    const int id = std::stoi(text);
    return id > 0 ? std::optional<int>(id) : std::nullopt;
}

bool IsLoopback(const std::string& address) {
    return address.rfind("127.", 0) == 0 || address == "::1" || address.rfind("::ffff:127.", 0) == 0;
}

// Compares every byte, so the time taken tells nothing about where a wrong token differs.
bool SameToken(const std::string& given, const std::string& token) {
    if (given.size() != token.size())
        return false;
    unsigned char difference = 0;
    for (size_t i = 0; i < token.size(); ++i)
        difference |= static_cast<unsigned char>(given[i] ^ token[i]);
    return difference == 0;
}

class Handlers {
public:
    Handlers(Storage& storage, const ServerOptions& options) : storage_(storage), options_(options) {}

    void VersionSign(const httplib::Request& req, httplib::Response& res) {
        const auto id = ProductId(req);
        const std::string type = req.get_param_value("RequestType");
        if (!id || (type != "1" && type != "2"))
            return Answer(res, 400, "bad request");
        const auto product = storage_.ProductById(*id);
        if (!product)
            return Answer(res, 404, "unknown product");
        const std::string version = product->live ? product->live->version : std::string();
        if (type == "1") {
            if (!product->live)
                return Answer(res, 404, "no release");
            storage_.CountEvent(Today(), EventKind::VersionCheck, version);
            return Answer(res, 200, version);
        }
        storage_.CountEvent(Today(), EventKind::UpdatePing, version);
        Answer(res, 200, product->updateRequested ? "1" : "0");
    }

    void Usage(const httplib::Request& req, httplib::Response& res) {
        const std::string address = req.get_param_value("macAdd");
        const std::string check = req.get_param_value("chk");
        if (!IsValidReport(address, check))
            return Answer(res, 400, "bad report");
        std::string version;
        if (const auto id = ProductId(req)) {
            if (const auto product = storage_.ProductById(*id); product && product->live)
                version = product->live->version;
        }
        const int64_t now = Now();
        if (storage_.RecordReport(address, now, UtcDay(now), version) == ReportOutcome::NotStored)
            return Answer(res, 503, "not stored, try again");
        Answer(res, 200, "ok");
    }

    // The download counter hands out files of our own store only: it never fetches another address.
    void CountedDownload(const httplib::Request& req, httplib::Response& res) {
        std::vector<std::string> hosts = options_.ownHosts;
        hosts.push_back(req.get_header_value("Host"));
        const auto path = OwnDownloadPath(req.get_param_value("p_url"), hosts);
        if (!path || !ServeStoreFile(*path, res, true))
            return Answer(res, 404, "not found");
    }

    void Download(const httplib::Request& req, httplib::Response& res) {
        const std::string path = req.matches[1];
        if (!SafeSegments(path) || !ServeStoreFile(path, res, false))
            Answer(res, 404, "not found");
    }

    void Manifest(const httplib::Request& req, httplib::Response& res) {
        const std::string product = req.matches[1], file = req.matches[2];
        const auto release = IsProductName(product) ? storage_.CurrentRelease(product) : std::nullopt;
        if (!release)
            return Answer(res, 404, "not found");
        if (file == "update_log.xml") {
            res.set_content(ChangeLogManifest(storage_.ChangeLog(product)), "text/xml; charset=utf-8");
            return;
        }
        // The digest list and its signature file go out exactly as publish wrote them; an unsigned
        // release has no signature file.
        const bool signature = file == "update_md5.xml.sig";
        std::ifstream in(ReleaseFolder(options_.dataDir, product, release->id) / file, std::ios::binary);
        if (signature && !in.is_open())
            return Answer(res, 404, "not found");
        std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        if (!in.good() && !in.eof())
            return Answer(res, 500, "cannot read " + file);
        res.set_content(bytes, signature ? "text/plain; charset=us-ascii" : "text/xml; charset=utf-8");
    }

    void Stats(const httplib::Request& req, httplib::Response& res) {
        if (!MayReadStats(req))
            return Answer(res, 403, options_.token.empty() ? "the stats page answers on loopback only"
                                                           : "the stats page needs the token");
        const int64_t now = Now();
        std::vector<std::string> days;
        for (int i = kStatsDays - 1; i >= 0; --i)
            days.push_back(UtcDay(now - int64_t{i} * 86400));
        res.set_content(StatsPageHtml(storage_.Stats(days.front()), days, options_.demo), "text/html; charset=utf-8");
    }

private:
    int64_t Now() const { return options_.clock ? options_.clock() : static_cast<int64_t>(time(nullptr)); }
    std::string Today() const { return UtcDay(Now()); }

    bool MayReadStats(const httplib::Request& req) const {
        if (options_.token.empty())
            return IsLoopback(req.remote_addr);
        std::string given = req.get_param_value("token");
        const std::string authorization = req.get_header_value("Authorization");
        if (authorization.rfind("Bearer ", 0) == 0)
            given = authorization.substr(7);
        return SameToken(given, options_.token);
    }

    // path: "product/..." under the product's live release. Streams the file; counts it when asked.
    bool ServeStoreFile(const std::string& path, httplib::Response& res, bool count) {
        const size_t slash = path.find('/');
        const std::string product = path.substr(0, slash);
        const auto release = slash == std::string::npos ? std::nullopt : storage_.CurrentRelease(product);
        if (!release)
            return false;
        const std::string name = path.substr(slash + 1);
        const TestFault::Kind fault = FaultOnce(name);
        if (fault == TestFault::Kind::Missing)
            return false;
        const auto file = ReleaseFolder(options_.dataDir, product, release->id) / "files" / name;
        std::error_code error;
        if (!std::filesystem::is_regular_file(file, error))
            return false;
        const auto size = std::filesystem::file_size(file, error);
        auto in = std::make_shared<std::ifstream>(file, std::ios::binary);
        if (error || !*in)
            return false;
        if (count)
            storage_.CountEvent(Today(), EventKind::Download, release->version);
        // A cut file ends halfway, a corrupt one has its middle byte changed.
        const size_t middle = static_cast<size_t>(size) / 2;
        res.set_content_provider(static_cast<size_t>(size), "application/octet-stream",
                                 [in, fault, middle](size_t offset, size_t length, httplib::DataSink& sink) {
                                     char buffer[64 * 1024];
                                     if (fault == TestFault::Kind::Cut && offset >= middle)
                                         return false;
                                     in->seekg(static_cast<std::streamoff>(offset));
                                     in->read(buffer, static_cast<std::streamsize>(std::min(length, sizeof buffer)));
                                     const auto got = static_cast<size_t>(in->gcount());
                                     if (fault == TestFault::Kind::Corrupt && middle >= offset && middle < offset + got)
                                         buffer[middle - offset] ^= 0x5a;
                                     return got > 0 && sink.write(buffer, got);
                                 });
        return true;
    }

    // The test fault for a store file, played on its first download only.
    TestFault::Kind FaultOnce(const std::string& name) {
        if (options_.fault.file != name || faultPlayed_.exchange(true))
            return TestFault::Kind::None;
        return options_.fault.kind;
    }

    Storage& storage_;
    const ServerOptions& options_;
    std::atomic<bool> faultPlayed_{false};
};

}  // namespace

void InstallRoutes(HttpServer& server, Storage& storage, const ServerOptions& options) {
    auto handlers = std::make_shared<Handlers>(storage, options);
    auto route = [&server, handlers](const std::string& pattern,
                                     void (Handlers::*method)(const httplib::Request&, httplib::Response&),
                                     HttpServer::Speed speed = HttpServer::Speed::Fast) {
        // A database that cannot be reached answers 503 with nothing kept, so the client asks again later.
        auto handler = [handlers, method](const httplib::Request& req, httplib::Response& res) {
            try {
                ((*handlers).*method)(req, res);
            } catch (const StorageUnavailable&) {
                res = httplib::Response();
                Answer(res, 503, "the database is unavailable, try again");
            }
        };
        GetAndPost(server, pattern, handler, speed);
    };
    const std::string stats = kStatsPath;
    route(stats + "sd_version_sign\\.php", &Handlers::VersionSign);
    route(stats + "pm_usage\\.php", &Handlers::Usage);
    route(stats + "pm_down\\.php", &Handlers::CountedDownload);
    route("/update/([^/]+)/(update_log\\.xml|update_md5\\.xml|update_md5\\.xml\\.sig)", &Handlers::Manifest);
    route("/download/(.+)", &Handlers::Download);
    // The stats page reads every day's counts: a worker's job, so no other request waits for it.
    route("/stats", &Handlers::Stats, HttpServer::Speed::Slow);
    if (options.demo)
        InstallDemoSites(server, options.clock);
    // The hook runs once the answer has been written: the change log reaches the client before the server goes.
    if (options.fault.kind == TestFault::Kind::GoneAfterLog)
        server.SetAnswered([&server](const httplib::Request& req) {
            if (req.path.size() >= 15 && req.path.compare(req.path.size() - 15, 15, "/update_log.xml") == 0)
                server.Stop();
        });
}

}  // namespace server
