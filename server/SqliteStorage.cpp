#include "server/SqliteStorage.h"

#include "server/SchemaVersion.h"
#include "server/StatsTally.h"

namespace server {

namespace {

const char kSchema[] = R"sql(
CREATE TABLE IF NOT EXISTS products(
  name TEXT PRIMARY KEY,
  product_id INTEGER NOT NULL UNIQUE,
  update_requested INTEGER NOT NULL DEFAULT 0);
-- A release is staged (seq NULL) until its files are in place; going live gives it the next seq, and the
-- live release of a product is the one with the highest seq.
CREATE TABLE IF NOT EXISTS releases(
  id INTEGER PRIMARY KEY AUTOINCREMENT,
  product TEXT NOT NULL REFERENCES products(name),
  version TEXT NOT NULL,
  date TEXT NOT NULL,
  content TEXT NOT NULL,
  seq INTEGER UNIQUE);
CREATE TABLE IF NOT EXISTS daily(
  day TEXT NOT NULL,
  version TEXT NOT NULL,
  kind INTEGER NOT NULL,
  count INTEGER NOT NULL,
  PRIMARY KEY(day, version, kind)) WITHOUT ROWID;
CREATE TABLE IF NOT EXISTS installs(
  address TEXT PRIMARY KEY,
  first_seen INTEGER NOT NULL,
  last_seen INTEGER NOT NULL,
  reports INTEGER NOT NULL,
  first_day TEXT NOT NULL,
  first_version TEXT NOT NULL) WITHOUT ROWID;
-- The installs counted by the day and version of their first report, kept as they come, so the stats page
-- reads one row per day and version instead of going over every install.
CREATE TABLE IF NOT EXISTS install_days(
  day TEXT NOT NULL,
  version TEXT NOT NULL,
  count INTEGER NOT NULL,
  PRIMARY KEY(day, version)) WITHOUT ROWID;
)sql";

// A database from before install_days has its counts made once from the installs it holds.
const char kCountInstallDays[] = R"sql(
BEGIN IMMEDIATE;
DELETE FROM install_days;
INSERT INTO install_days(day, version, count) SELECT first_day, first_version, count(*) FROM installs GROUP BY 1, 2;
PRAGMA user_version = 1;
COMMIT;
)sql";

// A cached statement must be reset once read: one left standing on a row keeps its connection's read snapshot,
// which would hide every later write from that connection.
class ResetWhenDone {
public:
    explicit ResetWhenDone(SqliteStatement& statement) : statement_(statement) {}
    ~ResetWhenDone() { statement_.Reset(); }
    ResetWhenDone(const ResetWhenDone&) = delete;
    ResetWhenDone& operator=(const ResetWhenDone&) = delete;

private:
    SqliteStatement& statement_;
};

const char kCurrentRelease[] =
    "SELECT id, version FROM releases WHERE product = ?1 AND seq IS NOT NULL ORDER BY seq DESC LIMIT 1";

}  // namespace

SqliteStatement& SqliteStorage::Connection::Prepared(const char* sql) {
    auto& slot = statements[sql];
    if (!slot)
        slot = std::make_unique<SqliteStatement>(db, sql);
    slot->Reset();
    return *slot;
}

bool SqliteStorage::Open(const std::string& path) {
    if (!main_.db.Open(path)) {
        error_ = path + ": " + main_.db.LastError();
        return false;
    }
    int64_t schemaVersion = 0;
    {
        SqliteStatement version(main_.db, "PRAGMA user_version");
        if (version.Step())
            schemaVersion = version.Int(0);
    }
    // A newer program's database is left exactly as it is.
    if (const std::string newer = server::SchemaVersionError(schemaVersion); !newer.empty()) {
        error_ = path + ": " + newer;
        return false;
    }
    if (!main_.db.Execute(kSchema)) {
        error_ = path + ": " + main_.db.LastError();
        return false;
    }
    // Made again from scratch, so two programs opening an older database at once both leave the right counts.
    if (schemaVersion < 1 && !main_.db.Execute(kCountInstallDays)) {
        error_ = path + ": " + main_.db.LastError();
        main_.db.Execute("ROLLBACK");
        return false;
    }
    if (!stats_.db.Open(path)) {
        error_ = path + ": " + stats_.db.LastError();
        return false;
    }
    return true;
}

std::optional<ProductState> SqliteStorage::ProductById(int productId) {
    std::lock_guard<std::mutex> lock(main_.mutex);
    auto& query = main_.Prepared(
        "SELECT p.name, p.update_requested, r.id, r.version FROM products p LEFT JOIN releases r ON r.id = "
        "(SELECT id FROM releases WHERE product = p.name AND seq IS NOT NULL ORDER BY seq DESC LIMIT 1) "
        "WHERE p.product_id = ?1");
    ResetWhenDone resetQuery(query);
    if (!query.Bind(1, int64_t{productId}).Step())
        return std::nullopt;
    ProductState product{query.Text(0), std::nullopt, query.Int(1) != 0};
    if (query.Int(2) != 0)
        product.live = LiveRelease{query.Int(2), product.name, query.Text(3)};
    return product;
}

std::optional<LiveRelease> SqliteStorage::CurrentRelease(std::string_view product) {
    std::lock_guard<std::mutex> lock(main_.mutex);
    auto& query = main_.Prepared(kCurrentRelease);
    ResetWhenDone resetQuery(query);
    if (!query.Bind(1, product).Step())
        return std::nullopt;
    return LiveRelease{query.Int(0), std::string(product), query.Text(1)};
}

std::vector<ChangeEntry> SqliteStorage::ChangeLog(std::string_view product) {
    std::lock_guard<std::mutex> lock(main_.mutex);
    auto& query = main_.Prepared(
        "SELECT date, version, content FROM releases WHERE product = ?1 AND seq IS NOT NULL ORDER BY seq DESC");
    ResetWhenDone resetQuery(query);
    query.Bind(1, product);
    std::vector<ChangeEntry> entries;
    while (query.Step())
        entries.push_back({query.Text(0), query.Text(1), query.Text(2)});
    return entries;
}

void SqliteStorage::CountEvent(std::string_view day, EventKind kind, std::string_view version) {
    std::lock_guard<std::mutex> lock(main_.mutex);
    auto& upsert = main_.Prepared(
        "INSERT INTO daily(day, version, kind, count) VALUES(?1, ?2, ?3, 1) "
        "ON CONFLICT(day, version, kind) DO UPDATE SET count = count + 1");
    ResetWhenDone resetUpsert(upsert);
    upsert.Bind(1, day).Bind(2, version).Bind(3, server::DailyKindOf(kind)).Step();
}

ReportOutcome SqliteStorage::RecordReport(std::string_view address, int64_t now, std::string_view day,
                                          std::string_view version) {
    std::lock_guard<std::mutex> lock(main_.mutex);
    SqliteTransaction transaction(main_.db);
    if (!transaction.Began())
        return ReportOutcome::NotStored;
    auto& update = main_.Prepared(
        "UPDATE installs SET last_seen = max(last_seen, ?2), reports = reports + 1 WHERE address = ?1");
    ResetWhenDone resetUpdate(update);
    update.Bind(1, address).Bind(2, now).Step();
    if (!update.Done())
        return ReportOutcome::NotStored;
    const bool known = sqlite3_changes(main_.db.Get()) > 0;
    if (!known) {
        auto& insert = main_.Prepared(
            "INSERT INTO installs(address, first_seen, last_seen, reports, first_day, first_version) "
            "VALUES(?1, ?2, ?2, 1, ?3, ?4)");
        ResetWhenDone resetInsert(insert);
        insert.Bind(1, address).Bind(2, now).Bind(3, day).Bind(4, version).Step();
        if (!insert.Done())
            return ReportOutcome::NotStored;
        auto& installDay = main_.Prepared(
            "INSERT INTO install_days(day, version, count) VALUES(?1, ?2, 1) "
            "ON CONFLICT(day, version) DO UPDATE SET count = count + 1");
        ResetWhenDone resetInstallDay(installDay);
        installDay.Bind(1, day).Bind(2, version).Step();
        if (!installDay.Done())
            return ReportOutcome::NotStored;
    }
    auto& count = main_.Prepared(
        "INSERT INTO daily(day, version, kind, count) VALUES(?1, ?2, 3, 1) "
        "ON CONFLICT(day, version, kind) DO UPDATE SET count = count + 1");
    ResetWhenDone resetCount(count);
    count.Bind(1, day).Bind(2, version).Step();
    if (!count.Done() || !transaction.Commit())
        return ReportOutcome::NotStored;
    return known ? ReportOutcome::RepeatReport : ReportOutcome::FirstReport;
}

StatsSnapshot SqliteStorage::Stats(std::string_view firstDay) {
    // A connection of its own: the page's reads never hold up the requests' (WAL readers do not block
    // each other or the writer).
    std::lock_guard<std::mutex> lock(stats_.mutex);
    // One read transaction, so the figures agree with each other.
    stats_.db.Execute("BEGIN");
    server::StatsTally tally{std::string(firstDay)};
    {
        SqliteStatement query(stats_.db, "SELECT day, version, kind, sum(count) FROM daily GROUP BY 1, 2, 3");
        while (query.Step())
            tally.AddEvents(query.Text(0), query.Text(1), query.Int(2), query.Int(3));
    }
    {
        SqliteStatement query(stats_.db, "SELECT day, version, count FROM install_days");
        while (query.Step())
            tally.AddInstalls(query.Text(0), query.Text(1), query.Int(2));
    }
    {
        SqliteStatement query(stats_.db,
                              "SELECT product, version, date, seq = (SELECT max(seq) FROM releases r "
                              "WHERE r.product = releases.product) FROM releases WHERE seq IS NOT NULL "
                              "ORDER BY seq DESC");
        while (query.Step())
            tally.AddRelease({query.Text(0), query.Text(1), query.Text(2), query.Int(3) != 0});
    }
    stats_.db.Execute("COMMIT");
    return tally.Finish();
}

Storage::StageResult SqliteStorage::StageRelease(std::string_view product, int productId,
                                                 const ChangeEntry& entry) {
    std::lock_guard<std::mutex> lock(main_.mutex);
    SqliteTransaction transaction(main_.db);
    if (!transaction.Began())
        return {0, "the database is busy: " + main_.db.LastError()};
    {
        SqliteStatement known(main_.db, "SELECT name, product_id FROM products WHERE name = ?1 OR product_id = ?2");
        known.Bind(1, product).Bind(2, int64_t{productId});
        while (known.Step()) {
            if (known.Text(0) != product || known.Int(1) != productId)
                return {0, "product id " + std::to_string(productId) + " and name " + std::string(product) +
                               " do not match the published product " + known.Text(0) + " (id " +
                               std::to_string(known.Int(1)) + ")"};
        }
    }
    SqliteStatement live(main_.db,
                         "SELECT 1 FROM releases WHERE product = ?1 AND version = ?2 AND seq IS NOT NULL");
    if (live.Bind(1, product).Bind(2, entry.version).Step())
        return {0, "version " + entry.version + " of " + std::string(product) + " is already published"};
    SqliteStatement addProduct(main_.db,
                               "INSERT INTO products(name, product_id) VALUES(?1, ?2) ON CONFLICT DO NOTHING");
    addProduct.Bind(1, product).Bind(2, int64_t{productId}).Step();
    SqliteStatement add(main_.db,
                        "INSERT INTO releases(product, version, date, content) VALUES(?1, ?2, ?3, ?4)");
    add.Bind(1, product).Bind(2, entry.version).Bind(3, entry.date).Bind(4, entry.content).Step();
    if (!addProduct.Done() || !add.Done())
        return {0, main_.db.LastError()};
    const int64_t id = sqlite3_last_insert_rowid(main_.db.Get());
    if (!transaction.Commit())
        return {0, main_.db.LastError()};
    return {id, {}};
}

std::string SqliteStorage::MakeLive(int64_t releaseId) {
    std::lock_guard<std::mutex> lock(main_.mutex);
    SqliteTransaction transaction(main_.db);
    if (!transaction.Began())
        return "the database is busy: " + main_.db.LastError();
    // Another publisher may have put the same version live since this one was staged.
    SqliteStatement clash(main_.db,
                          "SELECT 1 FROM releases a JOIN releases b ON a.product = b.product AND "
                          "a.version = b.version WHERE a.id = ?1 AND b.seq IS NOT NULL");
    if (clash.Bind(1, releaseId).Step())
        return "that version is already published";
    SqliteStatement golive(main_.db,
                           "UPDATE releases SET seq = (SELECT coalesce(max(seq), 0) + 1 FROM releases) "
                           "WHERE id = ?1 AND seq IS NULL");
    golive.Bind(1, releaseId).Step();
    if (!golive.Done() || sqlite3_changes(main_.db.Get()) != 1)
        return "no staged release " + std::to_string(releaseId);
    if (!transaction.Commit())
        return main_.db.LastError();
    return {};
}

void SqliteStorage::DropRelease(int64_t releaseId) {
    std::lock_guard<std::mutex> lock(main_.mutex);
    SqliteStatement drop(main_.db, "DELETE FROM releases WHERE id = ?1 AND seq IS NULL");
    drop.Bind(1, releaseId).Step();
}

std::vector<int64_t> SqliteStorage::StagedReleases(std::string_view product) {
    std::lock_guard<std::mutex> lock(main_.mutex);
    SqliteStatement staged(main_.db, "SELECT id FROM releases WHERE product = ?1 AND seq IS NULL");
    staged.Bind(1, product);
    std::vector<int64_t> ids;
    while (staged.Step())
        ids.push_back(staged.Int(0));
    return ids;
}

std::vector<int64_t> SqliteStorage::RetiredReleases(std::string_view product, int keep) {
    std::lock_guard<std::mutex> lock(main_.mutex);
    // Staged releases (no seq yet) are never retired: a publish may be putting their files in place.
    SqliteStatement older(main_.db, "SELECT id FROM releases WHERE product = ?1 AND seq IS NOT NULL "
                                      "ORDER BY seq DESC LIMIT -1 OFFSET ?2");
    older.Bind(1, product).Bind(2, int64_t{keep});
    std::vector<int64_t> ids;
    while (older.Step())
        ids.push_back(older.Int(0));
    return ids;
}

bool SqliteStorage::SetUpdateRequested(std::string_view product, bool requested) {
    std::lock_guard<std::mutex> lock(main_.mutex);
    SqliteStatement set(main_.db, "UPDATE products SET update_requested = ?2 WHERE name = ?1");
    set.Bind(1, product).Bind(2, int64_t{requested ? 1 : 0}).Step();
    return set.Done() && sqlite3_changes(main_.db.Get()) == 1;
}

}  // namespace server
