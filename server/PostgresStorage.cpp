#include "server/PostgresStorage.h"

#include "server/SchemaVersion.h"
#include "server/StatsTally.h"

namespace server {

namespace {

// Step i brings a database of schema version i to version i + 1.
const char* const kMigrations[] = {
    R"sql(
CREATE TABLE products(
  name text PRIMARY KEY,
  product_id integer NOT NULL UNIQUE,
  update_requested integer NOT NULL DEFAULT 0);
-- A release is staged (seq NULL) until its files are in place; going live gives it the next seq, and the
-- live release of a product is the one with the highest seq.
CREATE SEQUENCE release_seq;
CREATE TABLE releases(
  id bigserial PRIMARY KEY,
  product text NOT NULL REFERENCES products(name),
  version text NOT NULL,
  date text NOT NULL,
  content text NOT NULL,
  seq bigint UNIQUE);
CREATE INDEX releases_by_product ON releases(product, seq);
CREATE TABLE daily(
  day text NOT NULL,
  version text NOT NULL,
  kind integer NOT NULL,
  count bigint NOT NULL,
  PRIMARY KEY(day, version, kind));
CREATE TABLE installs(
  address text PRIMARY KEY,
  first_seen bigint NOT NULL,
  last_seen bigint NOT NULL,
  reports bigint NOT NULL,
  first_day text NOT NULL,
  first_version text NOT NULL);
-- The installs counted by the day and version of their first report, kept as they come.
CREATE TABLE install_days(
  day text NOT NULL,
  version text NOT NULL,
  count bigint NOT NULL,
  PRIMARY KEY(day, version));
)sql",
};
static_assert(sizeof kMigrations / sizeof kMigrations[0] == kSchemaVersion, "one step per schema version");

// Held for the length of the schema check, so programs starting together upgrade the database once.
const char kSchemaLock[] = "SELECT pg_advisory_xact_lock(7305812044)";

PgParam Text(std::string_view text) { return std::string(text); }
PgParam Number(int64_t number) { return std::to_string(number); }

constexpr auto kRetryPause = std::chrono::seconds(1);

}  // namespace

PostgresStorage::Lease::Lease(PostgresStorage& storage) : storage_(storage) {
    {
        std::lock_guard<std::mutex> lock(storage_.mutex_);
        if (!storage_.idle_.empty()) {
            connection_ = std::move(storage_.idle_.back());
            storage_.idle_.pop_back();
        }
    }
    if (!connection_)
        connection_ = storage_.Connect();
}

PostgresStorage::Lease::~Lease() {
    // A broken connection, or one left inside a transaction, is not used again.
    if (!connection_->Connected() || PQtransactionStatus(connection_->Get()) != PQTRANS_IDLE)
        return;
    std::lock_guard<std::mutex> lock(storage_.mutex_);
    storage_.idle_.push_back(std::move(connection_));
}

std::unique_ptr<PgConnection> PostgresStorage::Connect() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (std::chrono::steady_clock::now() < retryAfter_)
            throw StorageUnavailable("the database could not be reached a moment ago");
    }
    auto connection = std::make_unique<PgConnection>(address_);
    // A request waits for no lock or query longer than a few seconds: it is answered 503 instead.
    if (connection->Connected() &&
        connection->Execute("SET synchronous_commit = off; SET statement_timeout = '5s'").Ok())
        return connection;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        retryAfter_ = std::chrono::steady_clock::now() + kRetryPause;
    }
    throw StorageUnavailable(WithoutPassword(connection->Error(), address_));
}

PgResult PostgresStorage::Must(PgConnection& connection, const char* sql, const std::vector<PgParam>& params) {
    PgResult result = connection.Run(sql, params);
    if (!result.Ok())
        throw StorageUnavailable(WithoutPassword(result.Error(), address_));
    return result;
}

bool PostgresStorage::Open() {
    PgConnection connection(address_);
    if (!connection.Connected()) {
        error_ = WithoutPassword(connection.Error(), address_);
        return false;
    }
    PgTransaction transaction(connection);
    PgResult found;
    if (transaction.Began() && connection.Execute(kSchemaLock).Ok() &&
        connection.Execute("CREATE TABLE IF NOT EXISTS schema_version(version integer NOT NULL)").Ok())
        found = connection.Execute("SELECT coalesce(max(version), 0) FROM schema_version");
    if (!found.Ok()) {
        error_ = WithoutPassword(found.Error(), address_);
        return false;
    }
    const int64_t version = found.Int(0, 0);
    error_ = SchemaVersionError(version);
    if (!error_.empty())
        return false;
    for (int64_t step = version; step < kSchemaVersion; ++step) {
        PgResult migrated = connection.Execute(kMigrations[step]);
        if (!migrated.Ok()) {
            error_ = "cannot bring the schema to version " + std::to_string(step + 1) + ": " +
                     WithoutPassword(migrated.Error(), address_);
            return false;
        }
    }
    if (version < kSchemaVersion &&
        !connection.Execute("DELETE FROM schema_version; INSERT INTO schema_version VALUES(" +
                            std::to_string(kSchemaVersion) + ")").Ok()) {
        error_ = WithoutPassword(connection.Error(), address_);
        return false;
    }
    if (!transaction.Commit()) {
        error_ = WithoutPassword(connection.Error(), address_);
        return false;
    }
    return true;
}

std::optional<ProductState> PostgresStorage::ProductById(int productId) {
    Lease connection(*this);
    const PgResult row = Must(*connection,
        "SELECT p.name, p.update_requested, r.id, r.version FROM products p LEFT JOIN releases r ON r.id = "
        "(SELECT id FROM releases WHERE product = p.name AND seq IS NOT NULL ORDER BY seq DESC LIMIT 1) "
        "WHERE p.product_id = $1",
        {Number(productId)});
    if (row.Rows() == 0)
        return std::nullopt;
    ProductState product{row.Text(0, 0), std::nullopt, row.Int(0, 1) != 0};
    if (!row.IsNull(0, 2))
        product.live = LiveRelease{row.Int(0, 2), product.name, row.Text(0, 3)};
    return product;
}

std::optional<LiveRelease> PostgresStorage::CurrentRelease(std::string_view product) {
    Lease connection(*this);
    const PgResult row = Must(*connection,
        "SELECT id, version FROM releases WHERE product = $1 AND seq IS NOT NULL ORDER BY seq DESC LIMIT 1",
        {Text(product)});
    if (row.Rows() == 0)
        return std::nullopt;
    return LiveRelease{row.Int(0, 0), std::string(product), row.Text(0, 1)};
}

std::vector<ChangeEntry> PostgresStorage::ChangeLog(std::string_view product) {
    Lease connection(*this);
    const PgResult rows = Must(*connection,
        "SELECT date, version, content FROM releases WHERE product = $1 AND seq IS NOT NULL ORDER BY seq DESC",
        {Text(product)});
    std::vector<ChangeEntry> entries;
    for (int i = 0; i < rows.Rows(); ++i)
        entries.push_back({rows.Text(i, 0), rows.Text(i, 1), rows.Text(i, 2)});
    return entries;
}

void PostgresStorage::CountEvent(std::string_view day, EventKind kind, std::string_view version) {
    Lease connection(*this);
    Must(*connection,
         "INSERT INTO daily(day, version, kind, count) VALUES($1, $2, $3, 1) "
         "ON CONFLICT(day, version, kind) DO UPDATE SET count = daily.count + 1",
         {Text(day), Text(version), Number(DailyKindOf(kind))});
}

ReportOutcome PostgresStorage::RecordReport(std::string_view address, int64_t now, std::string_view day,
                                            std::string_view version) {
    // One statement, so one transaction: the install's row (made, or its last-seen time moved), the install
    // counted under its first day when it is new, and the day's report count.
    try {
        Lease connection(*this);
        const PgResult stored = connection->Run(
            "WITH install AS ("
            "  INSERT INTO installs(address, first_seen, last_seen, reports, first_day, first_version) "
            "  VALUES($1, $2, $2, 1, $3, $4) ON CONFLICT(address) DO UPDATE "
            "  SET last_seen = greatest(installs.last_seen, excluded.last_seen), reports = installs.reports + 1 "
            "  RETURNING (xmax = 0) AS first), "
            "counted AS ("
            "  INSERT INTO install_days(day, version, count) SELECT $3, $4, 1 FROM install WHERE first "
            "  ON CONFLICT(day, version) DO UPDATE SET count = install_days.count + 1), "
            "reported AS ("
            "  INSERT INTO daily(day, version, kind, count) VALUES($3, $4, 3, 1) "
            "  ON CONFLICT(day, version, kind) DO UPDATE SET count = daily.count + 1) "
            "SELECT first FROM install",
            {Text(address), Number(now), Text(day), Text(version)});
        if (!stored.Ok() || stored.Rows() != 1)
            return ReportOutcome::NotStored;
        return stored.Text(0, 0) == "t" ? ReportOutcome::FirstReport : ReportOutcome::RepeatReport;
    } catch (const StorageUnavailable&) {
        return ReportOutcome::NotStored;
    }
}

StatsSnapshot PostgresStorage::Stats(std::string_view firstDay) {
    Lease connection(*this);
    // One snapshot, so the figures agree with each other.
    PgTransaction transaction(*connection, "BEGIN ISOLATION LEVEL REPEATABLE READ READ ONLY");
    if (!transaction.Began())
        throw StorageUnavailable(WithoutPassword(connection->Error(), address_));
    StatsTally tally{std::string(firstDay)};
    const PgResult daily = Must(*connection, "SELECT day, version, kind, sum(count) FROM daily GROUP BY 1, 2, 3");
    for (int i = 0; i < daily.Rows(); ++i)
        tally.AddEvents(daily.Text(i, 0), daily.Text(i, 1), daily.Int(i, 2), daily.Int(i, 3));
    const PgResult installs = Must(*connection, "SELECT day, version, count FROM install_days");
    for (int i = 0; i < installs.Rows(); ++i)
        tally.AddInstalls(installs.Text(i, 0), installs.Text(i, 1), installs.Int(i, 2));
    const PgResult releases = Must(*connection,
        "SELECT product, version, date, seq = (SELECT max(seq) FROM releases r WHERE r.product = releases.product) "
        "FROM releases WHERE seq IS NOT NULL ORDER BY seq DESC");
    for (int i = 0; i < releases.Rows(); ++i)
        tally.AddRelease({releases.Text(i, 0), releases.Text(i, 1), releases.Text(i, 2), releases.Text(i, 3) == "t"});
    transaction.Commit();
    return tally.Finish();
}

Storage::StageResult PostgresStorage::StageRelease(std::string_view product, int productId,
                                                   const ChangeEntry& entry) {
    Lease connection(*this);
    PgTransaction transaction(*connection);
    // A publish is kept even if the database machine fails right after.
    if (!transaction.Began() || !connection->Execute("SET LOCAL synchronous_commit = on").Ok())
        return {0, WithoutPassword(connection->Error(), address_)};
    const PgResult known = connection->Run("SELECT name, product_id FROM products WHERE name = $1 OR product_id = $2",
                                           {Text(product), Number(productId)});
    for (int i = 0; i < known.Rows(); ++i) {
        if (known.Text(i, 0) != product || known.Int(i, 1) != productId)
            return {0, "product id " + std::to_string(productId) + " and name " + std::string(product) +
                           " do not match the published product " + known.Text(i, 0) + " (id " +
                           known.Text(i, 1) + ")"};
    }
    const PgResult live = connection->Run(
        "SELECT 1 FROM releases WHERE product = $1 AND version = $2 AND seq IS NOT NULL",
        {Text(product), entry.version});
    if (live.Rows() > 0)
        return {0, "version " + entry.version + " of " + std::string(product) + " is already published"};
    const PgResult addProduct = connection->Run(
        "INSERT INTO products(name, product_id) VALUES($1, $2) ON CONFLICT DO NOTHING",
        {Text(product), Number(productId)});
    const PgResult added = connection->Run(
        "INSERT INTO releases(product, version, date, content) VALUES($1, $2, $3, $4) RETURNING id",
        {Text(product), entry.version, entry.date, entry.content});
    if (!known.Ok() || !live.Ok() || !addProduct.Ok() || !added.Ok() || added.Rows() != 1 || !transaction.Commit())
        return {0, WithoutPassword(connection->Error(), address_)};
    return {added.Int(0, 0), {}};
}

std::string PostgresStorage::MakeLive(int64_t releaseId) {
    Lease connection(*this);
    PgTransaction transaction(*connection);
    if (!transaction.Began() || !connection->Execute("SET LOCAL synchronous_commit = on").Ok())
        return WithoutPassword(connection->Error(), address_);
    // The product's row is locked until the switch commits: two publishes of one product go live one after
    // the other, and the second sees the first's version.
    const PgResult product = connection->Run(
        "SELECT 1 FROM products WHERE name = (SELECT product FROM releases WHERE id = $1) FOR UPDATE",
        {Number(releaseId)});
    const PgResult clash = connection->Run(
        "SELECT 1 FROM releases a JOIN releases b ON a.product = b.product AND a.version = b.version "
        "WHERE a.id = $1 AND b.seq IS NOT NULL",
        {Number(releaseId)});
    if (!product.Ok() || !clash.Ok())
        return WithoutPassword(connection->Error(), address_);
    if (clash.Rows() > 0)
        return "that version is already published";
    const PgResult golive = connection->Run(
        "UPDATE releases SET seq = nextval('release_seq') WHERE id = $1 AND seq IS NULL", {Number(releaseId)});
    if (!golive.Ok() || golive.Affected() != 1)
        return "no staged release " + std::to_string(releaseId);
    if (!transaction.Commit())
        return WithoutPassword(connection->Error(), address_);
    return {};
}

void PostgresStorage::DropRelease(int64_t releaseId) {
    Lease connection(*this);
    Must(*connection, "DELETE FROM releases WHERE id = $1 AND seq IS NULL", {Number(releaseId)});
}

std::vector<int64_t> PostgresStorage::StagedReleases(std::string_view product) {
    Lease connection(*this);
    const PgResult rows =
        Must(*connection, "SELECT id FROM releases WHERE product = $1 AND seq IS NULL", {Text(product)});
    std::vector<int64_t> ids;
    for (int i = 0; i < rows.Rows(); ++i)
        ids.push_back(rows.Int(i, 0));
    return ids;
}

std::vector<int64_t> PostgresStorage::RetiredReleases(std::string_view product, int keep) {
    Lease connection(*this);
    // Staged releases (no seq yet) are never retired: a publish may be putting their files in place.
    const PgResult rows = Must(*connection,
        "SELECT id FROM releases WHERE product = $1 AND seq IS NOT NULL ORDER BY seq DESC OFFSET $2",
        {Text(product), Number(keep)});
    std::vector<int64_t> ids;
    for (int i = 0; i < rows.Rows(); ++i)
        ids.push_back(rows.Int(i, 0));
    return ids;
}

bool PostgresStorage::SetUpdateRequested(std::string_view product, bool requested) {
    Lease connection(*this);
    const PgResult set = Must(*connection, "UPDATE products SET update_requested = $2 WHERE name = $1",
                              {Text(product), Number(requested ? 1 : 0)});
    return set.Affected() == 1;
}

}  // namespace server
