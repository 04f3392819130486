// MELD scores as used for liver allocation: the laboratory values bounded as the allocation
// rules say, the score rounded to a whole number and capped at 40. Bilirubin and creatinine in
// mg/dL, albumin in g/dL, sodium in mmol/L; see units.hpp for the others.
#pragma once

#include <cmath>

#include "error/quorin_error.hpp"
#include "formulas/clinical.hpp"
#include "published/inputs.hpp"

namespace quorin::published {

// The rounded, uncapped MELD(i) of the allocation rules (OPTN policy 9.1): bilirubin, INR and
// creatinine below 1.0 are set to 1.0, creatinine above 4.0 to 4.0, and creatinine to 4.0 after
// dialysis. The rules round MELD(i)/10 to one decimal and multiply by 10, which is rounding the
// contract's score (the same sum, ten times over) to a whole number. No input is NaN here.
inline Result<double> meld_i(double bili, double inr, double creat, double dialysis) {
    double c = dialysis == 1.0 ? 4.0 : bounded(creat, 1.0, 4.0);
    auto s = formulas::meld_score(at_least(bili, 1.0), at_least(inr, 1.0), c);
    if (!s) return fail(std::move(s.error()));
    return std::round(*s);
}

inline Result<double> meld(double bili, double inr, double creat, double dialysis) {
    if (bili <= 0.0) return fail("Quorin.Meld: bili, inr and creat must be positive");
    if (inr <= 0.0) return fail("Quorin.Meld: bili, inr and creat must be positive");
    if (creat <= 0.0) return fail("Quorin.Meld: bili, inr and creat must be positive");
    if (not_a_flag(dialysis)) return fail("Quorin.Meld: dialysis must be 0 or 1 (false or true)");
    if (any_missing(bili, inr, creat, dialysis)) return kMissing;
    auto m = meld_i(bili, inr, creat, dialysis);
    if (!m) return m;
    return at_most(*m, 40.0);
}

// MELD-Na (Kim et al., N Engl J Med 2008; allocation since January 2016): the sodium term is
// added only when the rounded MELD(i) is above 11, with sodium bounded to 125-137 mmol/L.
inline Result<double> meld_na(double bili, double inr, double creat, double na, double dialysis) {
    if (bili <= 0.0) return fail("Quorin.MeldNa: bili, inr, creat and na must be positive");
    if (inr <= 0.0) return fail("Quorin.MeldNa: bili, inr, creat and na must be positive");
    if (creat <= 0.0) return fail("Quorin.MeldNa: bili, inr, creat and na must be positive");
    if (na <= 0.0) return fail("Quorin.MeldNa: bili, inr, creat and na must be positive");
    if (not_a_flag(dialysis)) return fail("Quorin.MeldNa: dialysis must be 0 or 1 (false or true)");
    if (any_missing(bili, inr, creat, na, dialysis)) return kMissing;
    auto m = meld_i(bili, inr, creat, dialysis);
    if (!m) return m;
    double score = *m;
    if (score > 11.0) {
        double d = 137.0 - bounded(na, 125.0, 137.0);
        score = std::round((score + 1.32 * d) - (0.033 * score) * d);
    }
    return at_most(score, 40.0);
}

// MELD 3.0 (Kim et al., Gastroenterology 2021; allocation since July 2023): values below 1.0
// set to 1.0, creatinine capped at 3.0 (and 3.0 after dialysis), sodium bounded to 125-137
// mmol/L and albumin to 1.5-3.5 g/dL. The terms are added in the published order.
inline Result<double> meld_3(double bili, double inr, double creat, double na, double albumin,
                             double female, double dialysis) {
    if (bili <= 0.0) return fail("Quorin.Meld3: bili, inr, creat, na and albumin must be positive");
    if (inr <= 0.0) return fail("Quorin.Meld3: bili, inr, creat, na and albumin must be positive");
    if (creat <= 0.0)
        return fail("Quorin.Meld3: bili, inr, creat, na and albumin must be positive");
    if (na <= 0.0) return fail("Quorin.Meld3: bili, inr, creat, na and albumin must be positive");
    if (albumin <= 0.0)
        return fail("Quorin.Meld3: bili, inr, creat, na and albumin must be positive");
    if (not_a_flag(female)) return fail("Quorin.Meld3: female must be 0 or 1 (false or true)");
    if (not_a_flag(dialysis)) return fail("Quorin.Meld3: dialysis must be 0 or 1 (false or true)");
    if (any_missing(bili, inr, creat, na, albumin, female, dialysis)) return kMissing;
    double lb = std::log(at_least(bili, 1.0));
    double li = std::log(at_least(inr, 1.0));
    double lc = std::log(dialysis == 1.0 ? 3.0 : bounded(creat, 1.0, 3.0));
    double dn = 137.0 - bounded(na, 125.0, 137.0);
    double da = 3.5 - bounded(albumin, 1.5, 3.5);
    double s = 1.33 * female;
    s = s + 4.56 * lb;
    s = s + 0.82 * dn;
    s = s - (0.24 * dn) * lb;
    s = s + 9.09 * li;
    s = s + 11.14 * lc;
    s = s + 1.85 * da;
    s = s - (1.83 * da) * lc;
    s = s + 6.0;
    return at_most(std::round(s), 40.0);
}

}  // namespace quorin::published
