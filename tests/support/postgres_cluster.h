#pragma once
// A throwaway PostgreSQL cluster for tests and benchmarks, from Debian's postgresql package: made
// with initdb in a fresh temporary folder and listening only on a unix socket in that folder, so
// that it cannot clash with any other server. As root it runs as the user postgres (the server
// refuses to run as root).
//
// Under ctest one cluster serves the whole test run: the fixture program postgres_cluster starts
// it before the first test that needs it and stops it after the last, and the tests find it
// through the file named by TAVIRO_TEST_POSTGRES. A test program run on its own starts a cluster
// of its own instead. Each test works in databases of its own (PostgresDatabase).
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace testing_support {

class PostgresCluster {
  public:
    // The cluster of this test run (see above), started or attached to on first use.
    static PostgresCluster& shared();

    // Starts a new cluster. When PostgreSQL cannot run here, skipReason() says why; when it
    // could but did not start, running() is false and failure() holds the tools' output.
    static std::unique_ptr<PostgresCluster> start();
    // A cluster another process started in `folder`; not stopped by this object.
    static std::unique_ptr<PostgresCluster> attach(const std::filesystem::path& folder);

    ~PostgresCluster();
    PostgresCluster(const PostgresCluster&) = delete;
    PostgresCluster& operator=(const PostgresCluster&) = delete;

    // Leaves a started cluster running when this object goes (the fixture program's start).
    void detach() { owned_ = false; }
    // Stops the cluster and removes its folder.
    void stop();

    const std::string& skipReason() const { return skipReason_; }
    bool running() const { return running_; }
    std::string failure() const;
    const std::filesystem::path& folder() const { return folder_; }

    // A libpq URI (scheme "postgresql" or "postgres") and a key=value string of a database.
    std::string url(const std::string& database = "postgres",
                    const std::string& scheme = "postgresql") const;
    std::string conninfo(const std::string& database = "postgres") const;

    // Runs SQL text on a database of the cluster as the superuser; throws std::runtime_error
    // with the server's message when it fails.
    void execute(const std::string& database, const std::string& sql) const;

  private:
    PostgresCluster() = default;
    bool run(std::vector<std::string> args) const;
    bool prepareServerUser();

    std::string skipReason_;
    std::filesystem::path folder_;
    std::filesystem::path binaries_;
    unsigned serverUid_ = 0;
    unsigned serverGid_ = 0;
    bool asServerUser_ = false;
    bool running_ = false;
    bool owned_ = false;
};

// A database of its own on a cluster, for one test; dropped when the object goes.
class PostgresDatabase {
  public:
    // `options`: what CREATE DATABASE takes after the name (a collation, say).
    explicit PostgresDatabase(const std::string& options = "",
                              const PostgresCluster& cluster = PostgresCluster::shared());
    ~PostgresDatabase();
    PostgresDatabase(const PostgresDatabase&) = delete;
    PostgresDatabase& operator=(const PostgresDatabase&) = delete;

    const std::string& name() const { return name_; }
    std::string url() const { return cluster_.url(name_); }
    std::string conninfo() const { return cluster_.conninfo(name_); }
    void execute(const std::string& sql) const { cluster_.execute(name_, sql); }

  private:
    const PostgresCluster& cluster_;
    std::string name_;
};

// Empty when the run's cluster is up; else why not (PostgreSQL is not installed, or it did not
// start), for a test to skip or fail with. `unavailable` tells which of the two it is.
std::string PostgresProblem(bool& unavailable);

}  // namespace testing_support

// Skips the test when PostgreSQL is not installed and fails it when the cluster did not start.
#define TAVIRO_REQUIRE_POSTGRES()                                                                  \
    do {                                                                                           \
        bool taviroPgUnavailable = false;                                                          \
        const std::string taviroPgProblem = testing_support::PostgresProblem(taviroPgUnavailable); \
        if (taviroPgUnavailable) GTEST_SKIP() << taviroPgProblem;                                  \
        ASSERT_TRUE(taviroPgProblem.empty()) << taviroPgProblem;                                   \
    } while (false)
