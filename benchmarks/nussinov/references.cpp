// Two reference folds for the benchmark, compiled by bench.py with the same compiler as quorin
// and -O3:
//   memo   the textbook memoised recursion over an n x n table of optional 64-bit counts;
//   fill   the bottom-up fill by increasing span over a row-major and a transposed 16-bit
//          table, so that both halves of every split are contiguous and the inner loop
//          vectorises.
// Usage: references memo|fill < sequence. Prints the count, the seconds of the fold alone and
// the peak resident memory of the process (kB). references fill-many BATCHES < sequences times
// the fill over many short sequences (see many.hpp).
#include <pthread.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "many.hpp"

namespace {

bool pairs(char x, char y) {
    return (x == 'A' && y == 'U') || (x == 'U' && (y == 'A' || y == 'G')) ||
           (x == 'G' && (y == 'U' || y == 'C')) || (x == 'C' && y == 'G');
}

struct Memo {
    const std::string& s;
    std::vector<std::vector<std::optional<std::uint64_t>>> table;

    std::uint64_t gamma(std::size_t i, std::size_t j) {
        if (i >= j) return 0;
        if (table[i][j]) return *table[i][j];
        std::uint64_t c = gamma(i + 1, j);
        std::uint64_t e = gamma(i, j - 1);
        std::uint64_t d = gamma(i + 1, j - 1);
        std::uint64_t p = pairs(s[i], s[j]) ? 1 : 0;
        std::uint64_t f = 0;
        for (std::size_t k = i; k < j; ++k) {
            std::uint64_t left = gamma(i, k);
            std::uint64_t right = gamma(k + 1, j);
            if (left + right > f) f = left + right;
        }
        std::uint64_t v = std::max(std::max(c, e), std::max(d + p, f));
        table[i][j] = v;
        return v;
    }
};

std::uint64_t memo(const std::string& s) {
    const std::size_t n = s.size();
    if (n == 0) return 0;
    Memo m{s, std::vector<std::vector<std::optional<std::uint64_t>>>(
                  n, std::vector<std::optional<std::uint64_t>>(n))};
    return m.gamma(0, n - 1);
}

std::uint64_t fill(const std::string& s) {
    const std::size_t n = s.size();
    if (n == 0) return 0;
    std::vector<std::uint16_t> row(n * n), col(n * n);  // row[i*n+j] = col[j*n+i] = gamma(i, j)
    for (std::size_t d = 1; d < n; ++d) {
        for (std::size_t i = 0; i + d < n; ++i) {
            const std::size_t j = i + d;
            const std::uint16_t* left = &row[i * n];
            const std::uint16_t* right = &col[j * n + 1];
            std::uint16_t best = 0;
            for (std::size_t k = i; k < j; ++k) {
                std::uint16_t v = static_cast<std::uint16_t>(left[k] + right[k]);
                best = v > best ? v : best;
            }
            std::uint16_t inside = d >= 2 ? row[(i + 1) * n + j - 1] : 0;
            std::uint16_t paired = static_cast<std::uint16_t>(inside + pairs(s[i], s[j]));
            if (paired > best) best = paired;
            row[i * n + j] = col[j * n + i] = best;
        }
    }
    return row[n - 1];
}

long peak_kb() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmHWM:", 0) == 0) return std::stol(line.substr(6));
    return -1;
}

struct Job {
    std::string which, sequence;
    std::uint64_t count = 0;
    double seconds = 0;
};

void* run(void* arg) {
    auto* job = static_cast<Job*>(arg);
    auto start = std::chrono::steady_clock::now();
    job->count = job->which == "memo" ? memo(job->sequence) : fill(job->sequence);
    job->seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return nullptr;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::string(argv[1]) == "fill-many") return time_many(fill, std::stoi(argv[2]));
    if (argc != 2) {
        std::fprintf(stderr, "usage: references memo|fill < sequence\n");
        return 2;
    }
    Job job{argv[1], {}};
    std::getline(std::cin, job.sequence);
    // The recursion goes about n frames deep: run it on a thread with a stack to match.
    pthread_attr_t attr;
    pthread_attr_init(&attr);
    pthread_attr_setstacksize(&attr, (std::size_t{1} << 20) + job.sequence.size() * 1024);
    pthread_t thread;
    if (pthread_create(&thread, &attr, run, &job) != 0) return 1;
    pthread_join(thread, nullptr);
    std::printf("%llu %.6f %ld\n", static_cast<unsigned long long>(job.count), job.seconds, peak_kb());
}
