// SI units into the conventional ones the published equations take. A unit is always the
// caller's explicit choice: nothing is guessed from the size of a value. Each is one division
// by the factor laboratories use, so a value converted here and the same division written by
// hand give the same double.
#pragma once

namespace quorin::published {

// Creatinine: 1 mg/dL = 88.4 µmol/L.
inline double creatinine_mg_dl(double umol_l) { return umol_l / 88.4; }

// Bilirubin: 1 mg/dL = 17.1 µmol/L.
inline double bilirubin_mg_dl(double umol_l) { return umol_l / 17.1; }

// Albumin: 1 g/dL = 10 g/L.
inline double albumin_g_dl(double g_l) { return g_l / 10.0; }

}  // namespace quorin::published
