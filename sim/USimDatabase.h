#pragma once

#include "USimRecords.h"

#include <memory>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

struct sqlite3;

namespace Sim {

class TSimDbError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The simulator's state in one SQLite file, shared by any number of request
// threads and processes: WAL journal, a busy timeout, and every change in one
// immediate transaction, so concurrent clients never lose or mix rows.
class TSimDatabase {
public:
    // Opens (creating when missing) the file and its tables.
    explicit TSimDatabase(std::string path);
    ~TSimDatabase();
    TSimDatabase(const TSimDatabase&) = delete;
    TSimDatabase& operator=(const TSimDatabase&) = delete;

    const std::string& Path() const noexcept { return FilePath; }

    // Adds the account or replaces its password digest.
    void AddAccount(const TSimAccount& account);
    bool Authenticate(const std::string& subjekt, const std::string& osoba,
                      const std::string& hesloDigest);
    // The subjects for which osoba acts with that password.
    std::vector<std::string> SubjektsOf(const std::string& osoba, const std::string& hesloDigest);

    std::vector<TSimPodanie> ListPodanie(const TListFilter& filter);
    std::optional<TSimPodanie> GetPodanie(const std::string& id,
                                          const std::vector<std::string>& subjekts);
    // Stores the submission and its receipt together.
    void InsertPodanie(const TSimPodanie& podanie, const TSimPisomnost& potvrdenie);

    std::vector<TSimPisomnost> ListPisomnosti(const TListFilter& filter);
    // With markRead, the document is marked read in the same transaction.
    std::optional<TSimPisomnost>
    GetPisomnost(const std::string& id, const std::vector<std::string>& subjekts, bool markRead);

    // Replaces everything of the account's subject (seeding), in one transaction.
    void ReplaceSubjekt(const TSimAccount& account, const std::vector<TSimPodanie>& podania,
                        const std::vector<TSimPisomnost>& pisomnosti);

    int CountPodanie(const std::string& subjekt);
    int CountPisomnosti(const std::string& subjekt);

    class TConnection;

private:
    class TLease;
    TLease Acquire();
    void Release(std::unique_ptr<TConnection> connection);

    std::string FilePath;
    std::mutex PoolMutex;
    std::vector<std::unique_ptr<TConnection>> Pool;
};

} // namespace Sim
