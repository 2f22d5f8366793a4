// The ctest fixture around a test run's PostgreSQL cluster:
//   postgres_cluster start FILE   starts a cluster and writes its folder into FILE
//   postgres_cluster stop FILE    stops that cluster and removes its folder and FILE
// Without PostgreSQL, start says so and succeeds; the tests then skip.
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>

#include "tests/support/postgres_cluster.h"

namespace {

namespace fs = std::filesystem;
using testing_support::PostgresCluster;

int start(const fs::path& pointer) {
    fs::remove(pointer);
    std::unique_ptr<PostgresCluster> cluster = PostgresCluster::start();
    if (!cluster->skipReason().empty()) {
        std::cout << "PostgreSQL tests will be skipped: " << cluster->skipReason() << "\n";
        return 0;
    }
    if (!cluster->running()) {
        std::cerr << cluster->failure();
        return 1;
    }
    std::ofstream(pointer) << cluster->folder().string();
    std::cout << "PostgreSQL cluster on " << cluster->folder().string() << "\n";
    cluster->detach();
    return 0;
}

int stop(const fs::path& pointer) {
    std::ifstream in(pointer);
    std::string folder;
    std::getline(in, folder);
    if (!folder.empty()) PostgresCluster::attach(folder)->stop();
    fs::remove(pointer);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string command = argc == 3 ? argv[1] : "";
    if (command == "start") return start(argv[2]);
    if (command == "stop") return stop(argv[2]);
    std::cerr << "usage: postgres_cluster start|stop FILE\n";
    return 2;
}
