// The performance report of `veldrane_bench --perf-report`.
#pragma once

// Runs the benchmarks it reports on, prints each figure beside its target; 0 when all are met.
int RunPerfReport();
