#include "tests/support/postgres_cluster.h"

#include <fcntl.h>
#include <libpq-fe.h>
#include <pwd.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <sstream>
#include <stdexcept>

namespace testing_support {

namespace fs = std::filesystem;

namespace {

constexpr const char* kPort = "5432";
constexpr const char* kSocketName = ".s.PGSQL.5432";
constexpr const char* kSharedClusterVariable = "TAVIRO_TEST_POSTGRES";
// sun_path holds 108 bytes with its terminating NUL.
constexpr size_t kMaxSocketPath = 107;

std::string readText(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The newest server version's initdb and pg_ctl, as Debian installs them.
std::optional<fs::path> findBinaries() {
    std::optional<fs::path> newest;
    int newestVersion = 0;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator("/usr/lib/postgresql", ec)) {
        const fs::path bin = entry.path() / "bin";
        const int version = std::atoi(entry.path().filename().c_str());
        if (version > newestVersion && fs::exists(bin / "initdb") && fs::exists(bin / "pg_ctl")) {
            newest = bin;
            newestVersion = version;
        }
    }
    return newest;
}

// Whether a user may walk down to `folder`: every folder on the way must let it search.
bool searchableBy(const fs::path& folder, uid_t uid, gid_t gid) {
    fs::path walked;
    for (const fs::path& part : fs::absolute(folder)) {
        walked /= part;
        struct stat info {};
        if (stat(walked.c_str(), &info) != 0) return false;
        const mode_t needed =
            info.st_uid == uid ? S_IXUSR : (info.st_gid == gid ? S_IXGRP : S_IXOTH);
        if ((info.st_mode & needed) == 0) return false;
    }
    return true;
}

bool socketPathFits(const fs::path& base) {
    // mkdtemp's "/taviro-pg-XXXXXX" and the socket's own name come on top of the base.
    return base.string().size() + 17 + 1 + std::string(kSocketName).size() <= kMaxSocketPath;
}

// Where the cluster's folder goes: the temporary folder, unless the server user cannot reach
// it (a TMPDIR below /root, say) or a socket in it would have too long a path; then /tmp.
fs::path clusterParent(bool asServerUser, uid_t uid, gid_t gid) {
    const fs::path temp = fs::temp_directory_path();
    const bool reachable = !asServerUser || searchableBy(temp, uid, gid);
    return reachable && socketPathFits(temp) ? temp : fs::path("/tmp");
}

std::unique_ptr<PostgresCluster>& sharedInstance() {
    static std::unique_ptr<PostgresCluster> instance;
    return instance;
}

}  // namespace

PostgresCluster& PostgresCluster::shared() {
    std::unique_ptr<PostgresCluster>& instance = sharedInstance();
    if (instance) return *instance;
    if (const char* pointer = std::getenv(kSharedClusterVariable)) {
        const std::string folder = readText(pointer);
        if (!folder.empty() && fs::exists(fs::path(folder) / kSocketName)) {
            instance = attach(folder);
            return *instance;
        }
    }
    instance = start();
    return *instance;
}

bool PostgresCluster::prepareServerUser() {
    if (geteuid() != 0) return true;
    const struct passwd* user = getpwnam("postgres");
    if (user == nullptr || !fs::exists("/usr/sbin/runuser")) {
        skipReason_ = "running as root, but there is no postgres user or no runuser";
        return false;
    }
    asServerUser_ = true;
    serverUid_ = user->pw_uid;
    serverGid_ = user->pw_gid;
    return true;
}

std::unique_ptr<PostgresCluster> PostgresCluster::start() {
    std::unique_ptr<PostgresCluster> cluster(new PostgresCluster());
    const std::optional<fs::path> binaries = findBinaries();
    if (!binaries) {
        cluster->skipReason_ =
            "no PostgreSQL server binaries under /usr/lib/postgresql/*/bin (install the "
            "postgresql package)";
        return cluster;
    }
    cluster->binaries_ = *binaries;
    if (!cluster->prepareServerUser()) return cluster;

    const fs::path parent =
        clusterParent(cluster->asServerUser_, cluster->serverUid_, cluster->serverGid_);
    std::string pattern = (parent / "taviro-pg-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    cluster->folder_ = pattern;
    cluster->owned_ = true;
    if (cluster->asServerUser_ &&
        chown(pattern.c_str(), cluster->serverUid_, cluster->serverGid_) != 0) {
        return cluster;  // not running; failure() is empty, the folder says where
    }
    const std::string data = (cluster->folder_ / "data").string();
    // fsync off (-F, --no-sync): a throwaway cluster needs no durability.
    cluster->running_ =
        cluster->run({(*binaries / "initdb").string(), "-D", data, "-A", "trust", "-U", "postgres",
                      "--no-sync", "-E", "UTF8", "--no-locale"}) &&
        cluster->run(
            {(*binaries / "pg_ctl").string(), "-D", data, "-l",
             (cluster->folder_ / "server.log").string(), "-w", "-t", "60", "-o",
             "-k '" + cluster->folder_.string() + "' -p " + kPort + " -c listen_addresses='' -F",
             "start"});
    return cluster;
}

std::unique_ptr<PostgresCluster> PostgresCluster::attach(const fs::path& folder) {
    std::unique_ptr<PostgresCluster> cluster(new PostgresCluster());
    cluster->folder_ = folder;
    if (const std::optional<fs::path> binaries = findBinaries()) cluster->binaries_ = *binaries;
    cluster->prepareServerUser();
    cluster->running_ = fs::exists(folder / kSocketName);
    return cluster;
}

PostgresCluster::~PostgresCluster() {
    if (owned_) stop();
}

void PostgresCluster::stop() {
    if (running_ && !binaries_.empty()) {
        run({(binaries_ / "pg_ctl").string(), "-D", (folder_ / "data").string(), "-m", "immediate",
             "-w", "stop"});
    }
    running_ = false;
    std::error_code ignored;
    if (!folder_.empty()) fs::remove_all(folder_, ignored);
}

std::string PostgresCluster::failure() const {
    return "PostgreSQL cluster in " + folder_.string() + ":\n" + readText(folder_ / "setup.log") +
           readText(folder_ / "server.log");
}

std::string PostgresCluster::url(const std::string& database, const std::string& scheme) const {
    return scheme + ":///" + database + "?host=" + folder_.string() + "&port=" + kPort +
           "&user=postgres";
}

std::string PostgresCluster::conninfo(const std::string& database) const {
    return "host=" + folder_.string() + " port=" + kPort + " dbname=" + database;
}

void PostgresCluster::execute(const std::string& database, const std::string& sql) const {
    const std::unique_ptr<PGconn, decltype(&PQfinish)> conn(
        PQconnectdb((conninfo(database) + " user=postgres").c_str()), PQfinish);
    if (PQstatus(conn.get()) != CONNECTION_OK) {
        throw std::runtime_error("cannot connect to " + database + ": " +
                                 PQerrorMessage(conn.get()));
    }
    const std::unique_ptr<PGresult, decltype(&PQclear)> result(PQexec(conn.get(), sql.c_str()),
                                                               PQclear);
    const ExecStatusType status = PQresultStatus(result.get());
    if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK) {
        throw std::runtime_error("SQL failed on " + database + ": " +
                                 PQresultErrorMessage(result.get()) + " in " + sql);
    }
}

// Runs a program (as the server user when we are root) with its output in setup.log.
bool PostgresCluster::run(std::vector<std::string> args) const {
    if (asServerUser_) args.insert(args.begin(), {"/usr/sbin/runuser", "-u", "postgres", "--"});
    std::vector<char*> argv;
    for (std::string& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);
    const std::string log = (folder_ / "setup.log").string();
    const int fd = open(log.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(fd, STDOUT_FILENO);
        dup2(fd, STDERR_FILENO);
        if (chdir(folder_.c_str()) != 0) _exit(126);  // the server user may not reach our cwd
        execv(argv[0], argv.data());
        _exit(127);
    }
    if (fd >= 0) close(fd);
    int status = 0;
    if (pid < 0 || waitpid(pid, &status, 0) != pid) return false;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

PostgresDatabase::PostgresDatabase(const std::string& options, const PostgresCluster& cluster)
    : cluster_(cluster) {
    static std::atomic<int> counter{0};
    if (!cluster.running()) throw std::runtime_error("the PostgreSQL cluster is not running");
    name_ = "taviro_" + std::to_string(getpid()) + "_" + std::to_string(++counter);
    cluster_.execute("postgres", "CREATE DATABASE " + name_ + " " + options);
}

PostgresDatabase::~PostgresDatabase() {
    try {
        cluster_.execute("postgres", "DROP DATABASE IF EXISTS " + name_ + " WITH (FORCE)");
    } catch (const std::exception&) {
        // The cluster goes with the test run; a database left behind goes with it.
    }
}

std::string PostgresProblem(bool& unavailable) {
    const PostgresCluster& cluster = PostgresCluster::shared();
    unavailable = !cluster.skipReason().empty();
    if (unavailable) return cluster.skipReason();
    return cluster.running() ? std::string() : cluster.failure();
}

}  // namespace testing_support
