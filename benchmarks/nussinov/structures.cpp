// The structure fold against the count fold, for bench.py, built from quorin's sources with the
// module's flags.
//   structures time BATCHES MIN_LOOP < sequences
//       folds all the sequences (one per line) BATCHES times each way, the two ways taking
//       turns, and prints the seconds per fold of the fastest batch of the count fold and of
//       the structure fold (a batch lasts a few milliseconds, so the best one ran undisturbed);
//       exits 1 if a structure's pairs are not the count.
//   structures memory count|structure MIN_LOOP < sequence
//       folds the sequence once and prints the growth of the peak resident memory (kB).
#include <chrono>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "rna/nussinov.hpp"

namespace {

using namespace quorin::rna;
using Clock = std::chrono::steady_clock;

long peak_kb() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmHWM:", 0) == 0) return std::stol(line.substr(6));
    return -1;
}

std::vector<std::string> read_lines() {
    std::vector<std::string> lines;
    for (std::string line; std::getline(std::cin, line);) lines.push_back(line);
    return lines;
}

int time_both(int batches, FoldOptions options) {
    const auto sequences = read_lines();
    if (sequences.empty()) return 2;
    Workspace workspace;
    std::vector<std::uint64_t> counts;
    for (const auto& s : sequences) {  // warm up, and the counts to check against
        counts.push_back(**fold(s, workspace, Poll{}, options));
        if ((**fold_structure(s, workspace, Poll{}, options)).pairs.size() != counts.back()) return 1;
    }
    double best_count = 1e300, best_structure = 1e300;
    for (int b = 0; b < batches; ++b) {
        for (int way = 0; way < 2; ++way) {
            const bool structure = (way + b) % 2 == 1;
            std::uint64_t sum = 0;
            const auto start = Clock::now();
            for (const auto& s : sequences)
                sum += structure ? (**fold_structure(s, workspace, Poll{}, options)).pairs.size()
                                 : **fold(s, workspace, Poll{}, options);
            const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
            std::uint64_t expected = 0;
            for (auto c : counts) expected += c;
            if (sum != expected) return 1;
            double& best = structure ? best_structure : best_count;
            if (seconds < best) best = seconds;
        }
    }
    std::printf("%.9f %.9f\n", best_count / sequences.size(), best_structure / sequences.size());
    return 0;
}

int memory(const std::string& which, FoldOptions options) {
    const auto lines = read_lines();
    if (lines.empty()) return 2;
    Workspace workspace;
    const long before = peak_kb();
    std::uint64_t count = which == "structure"
                              ? (**fold_structure(lines[0], workspace, Poll{}, options)).pairs.size()
                              : **fold(lines[0], workspace, Poll{}, options);
    std::printf("%llu %ld\n", static_cast<unsigned long long>(count), peak_kb() - before);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: structures time BATCHES MIN_LOOP | memory count|structure MIN_LOOP\n");
        return 2;
    }
    const std::string mode = argv[1];
    FoldOptions options;
    options.min_loop = std::stoul(argv[3]);
    if (mode == "time") return time_both(std::stoi(argv[2]), options);
    return memory(argv[2], options);
}
