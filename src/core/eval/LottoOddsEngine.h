#pragma once

#include <cstdint>

#include "core/eval/LottoEvaluation.h"

// The counting behind ComputeLottoOdds, apart so that tests and benchmarks can pick a method.
namespace losfix::eval {

enum class LottoMethod {
    Compare,     // every draw against every row
    SubsetSums,  // per draw, sums of how many rows hold each subset of the draw
};

struct LottoOddsPlan {
    bool exactFeasible = false;
    LottoMethod exactMethod = LottoMethod::Compare;
    LottoMethod sampleMethod = LottoMethod::Compare;
    double exactSeconds = 0;  // the estimate behind exactFeasible
    std::uint64_t exactBytes = 0;
};

LottoOddsPlan PlanLottoOdds(const LottoRows& rows, int drawSize);

// Every draw once; `seed` orders the blocks of draws, so that a stopped run is spread.
LottoOdds EnumerateLottoOdds(const LottoRows& rows, int drawSize, EvalControl& control,
                             const LottoOddsPlan& plan, std::uint64_t seed);
LottoOdds SampleLottoOdds(const LottoRows& rows, int drawSize, EvalControl& control,
                          const LottoOddsPlan& plan, std::uint64_t seed, std::uint64_t draws);

}  // namespace losfix::eval
