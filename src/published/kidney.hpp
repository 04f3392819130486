// Kidney function as laboratories report it: the CKD-EPI, MDRD and Cockcroft-Gault equations
// with their published constants and sex as an input, and the KDIGO category of an eGFR.
// Creatinine is in mg/dL and cystatin C in mg/L; see units.hpp for µmol/L.
//
// The 2009, MDRD and Cockcroft-Gault forms are the contracts with the constants chosen; the 2021
// and cystatin C equations have exponents of their own, so they are written out here.
#pragma once

#include <array>
#include <cmath>

#include "error/quorin_error.hpp"
#include "formulas/clinical.hpp"
#include "published/inputs.hpp"

namespace quorin::published {

// The factors min(r, 1)^e and max(r, 1)^e of the CKD-EPI equations. On the constant side of
// the knee the factor is pow(1.0, e), which is exactly 1.0 for every exponent, so the call is
// skipped there: one pow per marker instead of two, with the same result. r is never NaN here.
inline double below_knee(double r, double e) { return r < 1.0 ? std::pow(r, e) : 1.0; }
inline double above_knee(double r, double e) { return r > 1.0 ? std::pow(r, e) : 1.0; }

// The age factor pow(base, age). Ages are whole years in nearly every record, so the powers of
// the whole ages the equations accept are computed once, by the same pow, and looked up: the
// same double, for one pow less per patient. Any other age takes the pow. Never NaN here.
class AgeFactor {
public:
    explicit AgeFactor(double base) : base_(base) {
        for (int k = 0; k <= kOldest; ++k) table_[k] = std::pow(base, static_cast<double>(k));
    }
    double operator()(double age) const {
        if (age >= 0.0 && age <= kOldest) {
            int whole = static_cast<int>(age);
            if (static_cast<double>(whole) == age) return table_[whole];
        }
        return std::pow(base_, age);
    }

private:
    static constexpr int kOldest = 120;
    double base_;
    std::array<double, kOldest + 1> table_;
};

inline const AgeFactor age_2021{0.9938}, age_2021_cys{0.9961}, age_2012_cys{0.996}, age_2009{0.993};

// CKD-EPI 2021 creatinine (race-free refit): Inker et al., N Engl J Med 2021.
inline Result<double> egfr_ckd_epi_2021(double scr, double age, double female) {
    if (scr <= 0.0) return fail("Quorin.EgfrCkdEpi2021: scr must be positive");
    if (age < 18.0 || age > 120.0) return fail("Quorin.EgfrCkdEpi2021: age must be in [18, 120]");
    if (not_a_flag(female))
        return fail("Quorin.EgfrCkdEpi2021: female must be 0 or 1 (false or true)");
    if (any_missing(scr, age, female)) return kMissing;
    bool f = female == 1.0;
    double r = scr / (f ? 0.7 : 0.9);
    double e = ((142.0 * below_knee(r, f ? -0.241 : -0.302)) * above_knee(r, -1.200)) *
               age_2021(age);
    return f ? e * 1.012 : e;
}

// CKD-EPI 2021 creatinine-cystatin C: Inker et al., N Engl J Med 2021.
inline Result<double> egfr_ckd_epi_2021_cys(double scr, double scys, double age, double female) {
    if (scr <= 0.0) return fail("Quorin.EgfrCkdEpi2021Cys: scr and scys must be positive");
    if (scys <= 0.0) return fail("Quorin.EgfrCkdEpi2021Cys: scr and scys must be positive");
    if (age < 18.0 || age > 120.0)
        return fail("Quorin.EgfrCkdEpi2021Cys: age must be in [18, 120]");
    if (not_a_flag(female))
        return fail("Quorin.EgfrCkdEpi2021Cys: female must be 0 or 1 (false or true)");
    if (any_missing(scr, scys, age, female)) return kMissing;
    bool f = female == 1.0;
    double r = scr / (f ? 0.7 : 0.9);
    double c = scys / 0.8;
    double e = ((((135.0 * below_knee(r, f ? -0.219 : -0.144)) * above_knee(r, -0.544)) *
                 below_knee(c, -0.323)) * above_knee(c, -0.778)) * age_2021_cys(age);
    return f ? e * 0.963 : e;
}

// CKD-EPI 2012 cystatin C: Inker et al., N Engl J Med 2012.
inline Result<double> egfr_ckd_epi_2012_cys(double scys, double age, double female) {
    if (scys <= 0.0) return fail("Quorin.EgfrCkdEpi2012Cys: scys must be positive");
    if (age < 18.0 || age > 120.0)
        return fail("Quorin.EgfrCkdEpi2012Cys: age must be in [18, 120]");
    if (not_a_flag(female))
        return fail("Quorin.EgfrCkdEpi2012Cys: female must be 0 or 1 (false or true)");
    if (any_missing(scys, age, female)) return kMissing;
    double c = scys / 0.8;
    double e = ((133.0 * below_knee(c, -0.499)) * above_knee(c, -1.328)) * age_2012_cys(age);
    return female == 1.0 ? e * 0.932 : e;
}

// CKD-EPI 2009 creatinine (Levey et al., Ann Intern Med 2009) without its race coefficient:
// the contract with the published knee, slope and age and sex factors.
inline Result<double> egfr_ckd_epi_2009(double scr, double age, double female) {
    if (scr <= 0.0) return fail("Quorin.EgfrCkdEpi2009: scr must be positive");
    if (age < 18.0 || age > 120.0) return fail("Quorin.EgfrCkdEpi2009: age must be in [18, 120]");
    if (not_a_flag(female))
        return fail("Quorin.EgfrCkdEpi2009: female must be 0 or 1 (false or true)");
    // The contract's knee takes the constant for a NaN ratio, which would give 141 × scale.
    if (any_missing(scr, age, female)) return kMissing;
    bool f = female == 1.0;
    double scale = age_2009(age) * (f ? 1.018 : 1.0);
    auto e = formulas::ckd_epi(scr, f ? 0.7 : 0.9, f ? -0.329 : -0.411, scale);
    if (!e) return fail(std::move(e.error()));
    return *e;
}

// The 4-variable MDRD Study equation, IDMS-traceable (Levey et al., Clin Chem 2007), without
// its race coefficient: the contract with the sex factor chosen.
inline Result<double> egfr_mdrd(double scr, double age, double female) {
    if (scr <= 0.0) return fail("Quorin.EgfrMdrd: scr must be positive");
    if (age < 18.0 || age > 120.0) return fail("Quorin.EgfrMdrd: age must be in [18, 120]");
    if (not_a_flag(female)) return fail("Quorin.EgfrMdrd: female must be 0 or 1 (false or true)");
    if (any_missing(scr, age, female)) return kMissing;
    auto e = formulas::ckd_mdrd(scr, age, female == 1.0 ? 0.742 : 1.0);
    if (!e) return fail(std::move(e.error()));
    return *e;
}

// Cockcroft-Gault creatinine clearance (Cockcroft and Gault, Nephron 1976), × 0.85 for women:
// the contract with the sex factor chosen.
inline Result<double> crcl_cockcroft_gault(double age, double weight, double scr, double female) {
    if (age < 18.0 || age > 120.0)
        return fail("Quorin.CrclCockcroftGault: age must be in [18, 120]");
    if (weight <= 0.0) return fail("Quorin.CrclCockcroftGault: weight and scr must be positive");
    if (scr <= 0.0) return fail("Quorin.CrclCockcroftGault: weight and scr must be positive");
    if (not_a_flag(female))
        return fail("Quorin.CrclCockcroftGault: female must be 0 or 1 (false or true)");
    if (any_missing(age, weight, scr, female)) return kMissing;
    auto c = formulas::cockcroft_gault_inner(age, weight, scr, female == 1.0 ? 0.85 : 1.0);
    if (!c) return fail(std::move(c.error()));
    return *c;
}

// The KDIGO 2012 GFR category as the code of its row: 1 G1, 2 G2, 3 G3a, 4 G3b, 5 G4, 6 G5.
inline Result<double> kdigo_gfr_category(double egfr) {
    if (egfr < 0.0) return fail("Quorin.KdigoGfrCategory: egfr must be non-negative");
    if (std::isnan(egfr)) return kMissing;
    if (egfr >= 90.0) return 1.0;
    if (egfr >= 60.0) return 2.0;
    if (egfr >= 45.0) return 3.0;
    if (egfr >= 30.0) return 4.0;
    if (egfr >= 15.0) return 5.0;
    return 6.0;
}

}  // namespace quorin::published
