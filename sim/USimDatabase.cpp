#include "USimDatabase.h"

#include "USimCrypto.h"

#include "USimSqlite.h"

#include <sqlite3.h>

#include <utility>

namespace Sim {

namespace {

constexpr int BusyTimeoutMs = 15000;
constexpr std::size_t MaxPooled = 16;

constexpr const char* Schema = R"(
CREATE TABLE IF NOT EXISTS accounts(
  subjekt TEXT NOT NULL,
  osoba TEXT NOT NULL,
  heslo_digest TEXT NOT NULL,
  PRIMARY KEY(subjekt, osoba));
CREATE TABLE IF NOT EXISTS submissions(
  id TEXT PRIMARY KEY,
  subjekt TEXT NOT NULL,
  osoba TEXT NOT NULL DEFAULT '',
  biznis TEXT NOT NULL,
  received_utc INTEGER NOT NULL,
  typ TEXT NOT NULL,
  sluzba TEXT NOT NULL,
  stav_overenia TEXT NOT NULL,
  stav_podania TEXT NOT NULL,
  document BLOB NOT NULL);
CREATE INDEX IF NOT EXISTS submissions_by_subjekt ON submissions(subjekt, received_utc);
CREATE TABLE IF NOT EXISTS documents(
  id TEXT PRIMARY KEY,
  subjekt TEXT NOT NULL,
  podanie_id TEXT NOT NULL DEFAULT '',
  biznis TEXT NOT NULL,
  created_utc INTEGER NOT NULL,
  typ TEXT NOT NULL,
  sluzba TEXT NOT NULL,
  content BLOB NOT NULL,
  precitany INTEGER NOT NULL DEFAULT 0);
CREATE INDEX IF NOT EXISTS documents_by_subjekt ON documents(subjekt, created_utc);
)";

const char* OrderColumn(TSortColumn column, bool documents) {
    switch (column) {
    case TSortColumn::Biznis:
        return "biznis";
    case TSortColumn::Typ:
        return "typ";
    case TSortColumn::Stav:
        return documents ? "created_utc" : "stav_podania";
    case TSortColumn::Precitany:
        return documents ? "precitany" : "received_utc";
    case TSortColumn::Datum:
        break;
    }
    return documents ? "created_utc" : "received_utc";
}

// WHERE and ORDER BY of a listing; only our own column names are spliced in.
std::string ListTail(const TListFilter& f, bool documents) {
    const char* time = documents ? "created_utc" : "received_utc";
    std::string sql = " WHERE subjekt = ?1";
    if (f.FromUtc)
        sql += std::string(" AND ") + time + " >= ?2";
    if (f.ToUtc)
        sql += std::string(" AND ") + time + " < ?3";
    if (f.Biznis)
        sql += " AND biznis = ?4";
    if (documents && f.Precitany)
        sql += " AND precitany = ?5";
    const char* dir = f.Descending ? " DESC" : " ASC";
    sql += std::string(" ORDER BY ") + OrderColumn(f.Column, documents) + dir + ", " + time + dir +
           ", id" + dir + " LIMIT ?6";
    return sql;
}

void BindFilter(TStatement& st, const TListFilter& f) {
    st.Bind(1, f.Subjekt);
    if (f.FromUtc)
        st.Bind(2, *f.FromUtc);
    if (f.ToUtc)
        st.Bind(3, *f.ToUtc);
    if (f.Biznis)
        st.Bind(4, *f.Biznis);
    if (f.Precitany)
        st.Bind(5, sqlite3_int64{*f.Precitany ? 1 : 0});
    st.Bind(6, sqlite3_int64{f.MaxRows});
}

std::string InClause(std::size_t count, int first) {
    std::string sql = "(";
    for (std::size_t i = 0; i < count; ++i) {
        if (i)
            sql += ',';
        sql += '?' + std::to_string(first + static_cast<int>(i));
    }
    return sql + ')';
}

constexpr const char* PodanieColumns =
    "id, subjekt, osoba, biznis, received_utc, typ, sluzba, stav_overenia, stav_podania";
constexpr const char* PisomnostColumns =
    "id, subjekt, podanie_id, biznis, created_utc, typ, sluzba, precitany";

TSimPodanie ReadPodanie(const TStatement& st) {
    TSimPodanie p;
    p.Id = st.Text(0);
    p.Subjekt = st.Text(1);
    p.Osoba = st.Text(2);
    p.Biznis = st.Text(3);
    p.ReceivedUtc = st.Int(4);
    p.Typ = st.Text(5);
    p.Sluzba = st.Text(6);
    p.StavOverenia = st.Text(7);
    p.StavPodania = st.Text(8);
    return p;
}

TSimPisomnost ReadPisomnost(const TStatement& st) {
    TSimPisomnost d;
    d.Id = st.Text(0);
    d.Subjekt = st.Text(1);
    d.PodanieId = st.Text(2);
    d.Biznis = st.Text(3);
    d.CreatedUtc = st.Int(4);
    d.Typ = st.Text(5);
    d.Sluzba = st.Text(6);
    d.Precitany = st.Int(7) != 0;
    return d;
}

constexpr const char* InsertPodanieSql =
    "INSERT INTO submissions(id, subjekt, osoba, biznis, received_utc, typ, sluzba, "
    "stav_overenia, stav_podania, document) VALUES(?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10)";

void InsertPodanieRow(TStatement& st, const TSimPodanie& p) {
    st.Reset();
    st.Bind(1, p.Id).Bind(2, p.Subjekt).Bind(3, p.Osoba).Bind(4, p.Biznis);
    st.Bind(5, sqlite3_int64{p.ReceivedUtc}).Bind(6, p.Typ).Bind(7, p.Sluzba);
    st.Bind(8, p.StavOverenia).Bind(9, p.StavPodania).BindBlob(10, p.Document);
    st.Run();
}

void InsertPisomnostRow(TStatement& st, const TSimPisomnost& d) {
    st.Reset();
    st.Bind(1, d.Id).Bind(2, d.Subjekt).Bind(3, d.PodanieId).Bind(4, d.Biznis);
    st.Bind(5, sqlite3_int64{d.CreatedUtc}).Bind(6, d.Typ).Bind(7, d.Sluzba);
    st.BindBlob(8, d.Content).Bind(9, sqlite3_int64{d.Precitany ? 1 : 0});
    st.Run();
}

constexpr const char* InsertPisomnostSql =
    "INSERT INTO documents(id, subjekt, podanie_id, biznis, created_utc, typ, sluzba, "
    "content, precitany) VALUES(?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9)";

} // namespace

class TSimDatabase::TConnection {
public:
    explicit TConnection(const std::string& path) {
        const int flags =
            SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX | SQLITE_OPEN_URI;
        if (sqlite3_open_v2(path.c_str(), &Db, flags, nullptr) != SQLITE_OK) {
            const std::string message = Db ? sqlite3_errmsg(Db) : "out of memory";
            sqlite3_close(Db);
            throw TSimDbError(path + ": " + message);
        }
        sqlite3_busy_timeout(Db, BusyTimeoutMs);
        sqlite3_extended_result_codes(Db, 1);
        // With WAL, NORMAL keeps the file consistent; a power cut may only lose the
        // last commits, which a simulator can afford for far fewer disk flushes.
        Exec(Db, "PRAGMA synchronous = NORMAL");
    }
    ~TConnection() { sqlite3_close(Db); }
    TConnection(const TConnection&) = delete;
    TConnection& operator=(const TConnection&) = delete;

    sqlite3* Db = nullptr;
};

// A pooled connection, handed back when the request is done.
class TSimDatabase::TLease {
public:
    TLease(TSimDatabase& owner, std::unique_ptr<TConnection> connection)
        : Owner(owner)
        , Connection(std::move(connection)) {}
    ~TLease() {
        if (Connection)
            Owner.Release(std::move(Connection));
    }
    TLease(const TLease&) = delete;
    TLease& operator=(const TLease&) = delete;

    sqlite3* Db() const { return Connection->Db; }

private:
    TSimDatabase& Owner;
    std::unique_ptr<TConnection> Connection;
};

TSimDatabase::TSimDatabase(std::string path)
    : FilePath(std::move(path)) {
    auto connection = std::make_unique<TConnection>(FilePath);
    // WAL lets readers go on while one writer commits; it stays set in the file.
    Exec(connection->Db, "PRAGMA journal_mode = WAL");
    {
        TTransaction tx(connection->Db);
        Exec(connection->Db, Schema);
        tx.Commit();
    }
    Release(std::move(connection));
}

TSimDatabase::~TSimDatabase() = default;

TSimDatabase::TLease TSimDatabase::Acquire() {
    {
        std::lock_guard lock(PoolMutex);
        if (!Pool.empty()) {
            auto connection = std::move(Pool.back());
            Pool.pop_back();
            return TLease(*this, std::move(connection));
        }
    }
    return TLease(*this, std::make_unique<TConnection>(FilePath));
}

void TSimDatabase::Release(std::unique_ptr<TConnection> connection) {
    std::lock_guard lock(PoolMutex);
    if (Pool.size() < MaxPooled)
        Pool.push_back(std::move(connection));
}

void TSimDatabase::AddAccount(const TSimAccount& account) {
    const TLease lease = Acquire();
    TTransaction tx(lease.Db());
    TStatement st(lease.Db(),
                  "INSERT INTO accounts(subjekt, osoba, heslo_digest) VALUES(?1, ?2, ?3) "
                  "ON CONFLICT(subjekt, osoba) DO UPDATE SET heslo_digest = ?3");
    st.Bind(1, account.Subjekt).Bind(2, account.Osoba).Bind(3, account.HesloDigest);
    st.Run();
    tx.Commit();
}

bool TSimDatabase::Authenticate(const std::string& subjekt, const std::string& osoba,
                                const std::string& hesloDigest) {
    const TLease lease = Acquire();
    TStatement st(lease.Db(),
                  "SELECT heslo_digest FROM accounts WHERE subjekt = ?1 AND osoba = ?2");
    st.Bind(1, subjekt).Bind(2, osoba);
    return st.Step() && EqualDigests(st.Text(0), hesloDigest);
}

std::vector<std::string> TSimDatabase::SubjektsOf(const std::string& osoba,
                                                  const std::string& hesloDigest) {
    const TLease lease = Acquire();
    TStatement st(lease.Db(), "SELECT subjekt, heslo_digest FROM accounts WHERE osoba = ?1");
    st.Bind(1, osoba);
    std::vector<std::string> out;
    while (st.Step())
        if (EqualDigests(st.Text(1), hesloDigest))
            out.push_back(st.Text(0));
    return out;
}

std::vector<TSimPodanie> TSimDatabase::ListPodanie(const TListFilter& filter) {
    const TLease lease = Acquire();
    TStatement st(lease.Db(), std::string("SELECT ") + PodanieColumns + " FROM submissions" +
                                  ListTail(filter, false));
    BindFilter(st, filter);
    std::vector<TSimPodanie> out;
    while (st.Step())
        out.push_back(ReadPodanie(st));
    return out;
}

std::optional<TSimPodanie> TSimDatabase::GetPodanie(const std::string& id,
                                                    const std::vector<std::string>& subjekts) {
    if (subjekts.empty())
        return std::nullopt;
    const TLease lease = Acquire();
    TStatement st(lease.Db(), std::string("SELECT ") + PodanieColumns +
                                  ", document FROM submissions WHERE id = ?1 AND subjekt IN " +
                                  InClause(subjekts.size(), 2));
    st.Bind(1, id);
    for (std::size_t i = 0; i < subjekts.size(); ++i)
        st.Bind(static_cast<int>(i) + 2, subjekts[i]);
    if (!st.Step())
        return std::nullopt;
    TSimPodanie p = ReadPodanie(st);
    p.Document = st.Text(9);
    return p;
}

void TSimDatabase::InsertPodanie(const TSimPodanie& podanie, const TSimPisomnost& potvrdenie) {
    const TLease lease = Acquire();
    TTransaction tx(lease.Db());
    TStatement insertPodanie(lease.Db(), InsertPodanieSql);
    InsertPodanieRow(insertPodanie, podanie);
    TStatement st(lease.Db(), InsertPisomnostSql);
    InsertPisomnostRow(st, potvrdenie);
    tx.Commit();
}

std::vector<TSimPisomnost> TSimDatabase::ListPisomnosti(const TListFilter& filter) {
    const TLease lease = Acquire();
    TStatement st(lease.Db(), std::string("SELECT ") + PisomnostColumns + " FROM documents" +
                                  ListTail(filter, true));
    BindFilter(st, filter);
    std::vector<TSimPisomnost> out;
    while (st.Step())
        out.push_back(ReadPisomnost(st));
    return out;
}

std::optional<TSimPisomnost> TSimDatabase::GetPisomnost(const std::string& id,
                                                        const std::vector<std::string>& subjekts,
                                                        bool markRead) {
    if (subjekts.empty())
        return std::nullopt;
    const TLease lease = Acquire();
    TTransaction tx(lease.Db(), markRead);
    const std::string where = " WHERE id = ?1 AND subjekt IN " + InClause(subjekts.size(), 2);
    const auto bind = [&](TStatement& st) {
        st.Bind(1, id);
        for (std::size_t i = 0; i < subjekts.size(); ++i)
            st.Bind(static_cast<int>(i) + 2, subjekts[i]);
    };
    if (markRead) {
        TStatement update(lease.Db(), "UPDATE documents SET precitany = 1" + where);
        bind(update);
        update.Run();
    }
    TStatement st(lease.Db(),
                  std::string("SELECT ") + PisomnostColumns + ", content FROM documents" + where);
    bind(st);
    if (!st.Step())
        return std::nullopt;
    TSimPisomnost d = ReadPisomnost(st);
    d.Content = st.Text(8);
    tx.Commit();
    return d;
}

void TSimDatabase::ReplaceSubjekt(const TSimAccount& account,
                                  const std::vector<TSimPodanie>& podania,
                                  const std::vector<TSimPisomnost>& pisomnosti) {
    const TLease lease = Acquire();
    TTransaction tx(lease.Db());
    for (const char* sql :
         {"DELETE FROM documents WHERE subjekt = ?1", "DELETE FROM submissions WHERE subjekt = ?1",
          "DELETE FROM accounts WHERE subjekt = ?1"}) {
        TStatement st(lease.Db(), sql);
        st.Bind(1, account.Subjekt);
        st.Run();
    }
    {
        TStatement st(lease.Db(),
                      "INSERT INTO accounts(subjekt, osoba, heslo_digest) VALUES(?1, ?2, ?3)");
        st.Bind(1, account.Subjekt).Bind(2, account.Osoba).Bind(3, account.HesloDigest);
        st.Run();
    }
    TStatement insertPodanie(lease.Db(), InsertPodanieSql);
    for (const TSimPodanie& p : podania)
        InsertPodanieRow(insertPodanie, p);
    TStatement st(lease.Db(), InsertPisomnostSql);
    for (const TSimPisomnost& d : pisomnosti)
        InsertPisomnostRow(st, d);
    tx.Commit();
}

int TSimDatabase::CountPodanie(const std::string& subjekt) {
    const TLease lease = Acquire();
    TStatement st(lease.Db(), "SELECT COUNT(*) FROM submissions WHERE subjekt = ?1");
    st.Bind(1, subjekt);
    return st.Step() ? static_cast<int>(st.Int(0)) : 0;
}

int TSimDatabase::CountPisomnosti(const std::string& subjekt) {
    const TLease lease = Acquire();
    TStatement st(lease.Db(), "SELECT COUNT(*) FROM documents WHERE subjekt = ?1");
    st.Bind(1, subjekt);
    return st.Step() ? static_cast<int>(st.Int(0)) : 0;
}

} // namespace Sim
