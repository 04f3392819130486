// Times a fold over many short sequences for bench.py: reads one sequence per line from stdin,
// folds them all `batches` times and prints the sum of the counts and the seconds per fold of
// the fastest batch (a batch lasts about a millisecond, so the best one ran undisturbed).
#pragma once

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

template <class Fold>
int time_many(Fold fold, int batches) {
    std::vector<std::string> sequences;
    for (std::string line; std::getline(std::cin, line);) sequences.push_back(line);
    if (sequences.empty()) return 2;
    std::uint64_t sum = 0;
    for (const auto& s : sequences) sum += fold(s);  // warm up
    double best = 1e300;
    for (int b = 0; b < batches; ++b) {
        auto start = std::chrono::steady_clock::now();
        std::uint64_t batch_sum = 0;
        for (const auto& s : sequences) batch_sum += fold(s);
        double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (batch_sum != sum) return 1;
        if (seconds < best) best = seconds;
    }
    std::printf("%llu %.9f\n", static_cast<unsigned long long>(sum), best / sequences.size());
    return 0;
}
