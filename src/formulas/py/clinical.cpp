#include "formulas/clinical.hpp"
#include "table.hpp"

namespace quorin::formulas::py {

constexpr Row kClinical[] = {
    def<"bmi", "(weight_kg, height_m)", bmi>,
    def<"body_surface_area", "(height_cm, weight_kg)", body_surface_area>,
    def<"cardiac_output", "(hr, sv)", cardiac_output>,
    def<"oxygen_saturation", "(hb_o2, hb)", oxygen_saturation>,
    def<"henderson_hasselbalch", "(pka, base, acid)", henderson_hasselbalch>,
    def<"osmolarity", "(na, glucose, bun)", osmolarity>,
    def<"cockcroft_gault", "(age, weight, scr, sex_factor)", cockcroft_gault_inner>,
    def<"ckd_mdrd", "(scr, age, scale)", ckd_mdrd>,
    def<"ckd_epi", "(scr, kappa, alpha, scale)", ckd_epi>,
    def<"meld_score", "(bili, inr, creat)", meld_score>,
};
constinit const Rows clinical = kClinical;

}  // namespace quorin::formulas::py
