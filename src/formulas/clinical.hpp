// Clinical indices: body size, haemodynamics, acid-base, renal function and liver scores.
// Every input is used in the units its caller supplies; nothing is converted or clamped.
// A core written as a lambda over its value type V runs on doubles and on the lanes of a
// vector loop alike (array/lanes.hpp).
#pragma once

#include <cmath>

#include "error/quorin_error.hpp"
#include "numeric.hpp"

namespace quorin::formulas {

inline constexpr auto bmi = []<class V>(V weight_kg, V height_m) -> Result<V> {
    if (weight_kg <= 0.0) return fail("Quorin.BMI: weight and height must be positive");
    if (height_m <= 0.0) return fail("Quorin.BMI: weight and height must be positive");
    return weight_kg / (height_m * height_m);
};

// Mosteller form; the product is rounded before the division and the square root is last.
inline constexpr auto body_surface_area = []<class V>(V height_cm, V weight_kg) -> Result<V> {
    if (height_cm < 0.0) return fail("Quorin.BodySurfaceArea: height and weight must be non-negative");
    if (weight_kg < 0.0) return fail("Quorin.BodySurfaceArea: height and weight must be non-negative");
    return root((height_cm * weight_kg) / 3600.0);
};

inline constexpr auto cardiac_output = []<class V>(V hr, V sv) -> Result<V> {
    if (hr <= 0.0) return fail("Quorin.CardiacOutput: HR and SV must be positive");
    if (sv <= 0.0) return fail("Quorin.CardiacOutput: HR and SV must be positive");
    return hr * sv;
};

inline constexpr auto oxygen_saturation = []<class V>(V hb_o2, V hb) -> Result<V> {
    if (hb_o2 < 0.0) return fail("Quorin.BloodOxygenSaturation: values must be non-negative");
    if (hb < 0.0) return fail("Quorin.BloodOxygenSaturation: values must be non-negative");
    V total = hb + hb_o2;
    if (total == 0.0) return fail("Quorin.BloodOxygenSaturation: total Hb must be positive");
    return hb_o2 / total;
};

// The decimal logarithm is the natural one divided by the double nearest ln 10, not log10().
inline Result<double> henderson_hasselbalch(double pka, double base, double acid) {
    if (base <= 0.0) return fail("Quorin.HendersonHasselbalch: base and acid must be positive");
    if (acid <= 0.0) return fail("Quorin.HendersonHasselbalch: base and acid must be positive");
    return std::log(base / acid) / 2.302585092994046 + pka;
}

inline constexpr auto osmolarity = []<class V>(V na, V glucose, V bun) -> Result<V> {
    if (na < 0.0) return fail("Quorin.Osmolarity: inputs must be non-negative");
    if (glucose < 0.0) return fail("Quorin.Osmolarity: inputs must be non-negative");
    if (bun < 0.0) return fail("Quorin.Osmolarity: inputs must be non-negative");
    return (2.0 * na + glucose / 18.0) + bun / 2.8;
};

// The sex-specific multiplier is the caller's; no constant of its own is applied.
inline constexpr auto cockcroft_gault_inner = []<class V>(V age, V weight, V scr,
                                                          V sex_factor) -> Result<V> {
    if (age < 0.0) return fail("Quorin.CockcroftGault: age must be in [0,140)");
    if (age >= 140.0) return fail("Quorin.CockcroftGault: age must be in [0,140)");
    if (weight <= 0.0) return fail("Quorin.CockcroftGault: weight, Scr, sex_factor must be positive");
    if (scr <= 0.0) return fail("Quorin.CockcroftGault: weight, Scr, sex_factor must be positive");
    if (sex_factor <= 0.0)
        return fail("Quorin.CockcroftGault: weight, Scr, sex_factor must be positive");
    return sex_factor * (((140.0 - age) * weight) / (scr * 72.0));
};

inline Result<double> ckd_mdrd(double scr, double age, double scale) {
    if (scr <= 0.0) return fail("Quorin.CkdMdrd: Scr, age, scale must be positive");
    if (age <= 0.0) return fail("Quorin.CkdMdrd: Scr, age, scale must be positive");
    if (scale <= 0.0) return fail("Quorin.CkdMdrd: Scr, age, scale must be positive");
    double a = std::pow(scr, -1.154) * 175.0;
    double b = std::pow(age, -0.203);
    return (b * a) * scale;
}

// A NaN ratio takes the constant in both min and max, so the result is then 141 * scale.
inline Result<double> ckd_epi(double scr, double kappa, double alpha, double scale) {
    if (scr <= 0.0) return fail("Quorin.CkdEpi: Scr, \u03ba, scale must be positive");
    if (kappa <= 0.0) return fail("Quorin.CkdEpi: Scr, \u03ba, scale must be positive");
    if (scale <= 0.0) return fail("Quorin.CkdEpi: Scr, \u03ba, scale must be positive");
    double r = scr / kappa;
    double a = std::pow(qmin(r, 1.0), alpha) * 141.0;
    double b = std::pow(qmax(r, 1.0), -1.209);
    return (b * a) * scale;
}

// No floor at 1.0 and no cap: inputs below 1 lower the score, which may become negative.
inline Result<double> meld_score(double bili, double inr, double creat) {
    if (bili <= 0.0) return fail("Quorin.MeldScore: bili, inr, creat must be positive");
    if (inr <= 0.0) return fail("Quorin.MeldScore: bili, inr, creat must be positive");
    if (creat <= 0.0) return fail("Quorin.MeldScore: bili, inr, creat must be positive");
    double s1 = 3.78 * std::log(bili);
    double s2 = 11.2 * std::log(inr) + s1;
    double s3 = 9.57 * std::log(creat) + s2;
    return s3 + 6.43;
}

}  // namespace quorin::formulas
