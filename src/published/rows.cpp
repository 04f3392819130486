#include "published/genetics.hpp"
#include "published/kidney.hpp"
#include "published/liver.hpp"
#include "published/units.hpp"
#include "table.hpp"

namespace quorin::published {

constexpr Row kRows[] = {
    def_array<"egfr_ckd_epi_2021", "(scr, age, female)", egfr_ckd_epi_2021>,
    def_array<"egfr_ckd_epi_2021_cys", "(scr, scys, age, female)", egfr_ckd_epi_2021_cys>,
    def_array<"egfr_ckd_epi_2012_cys", "(scys, age, female)", egfr_ckd_epi_2012_cys>,
    def_array<"egfr_ckd_epi_2009", "(scr, age, female)", egfr_ckd_epi_2009>,
    def_array<"egfr_mdrd", "(scr, age, female)", egfr_mdrd>,
    def_array<"crcl_cockcroft_gault", "(age, weight, scr, female)", crcl_cockcroft_gault>,
    def_array<"kdigo_gfr_category", "(egfr)", kdigo_gfr_category>,
    def_array<"meld", "(bili, inr, creat, dialysis)", meld>,
    def_array<"meld_na", "(bili, inr, creat, na, dialysis)", meld_na>,
    def_array<"meld_3", "(bili, inr, creat, na, albumin, female, dialysis)", meld_3>,
    def_array<"creatinine_mg_dl", "(umol_l)", creatinine_mg_dl>,
    def_array<"bilirubin_mg_dl", "(umol_l)", bilirubin_mg_dl>,
    def_array<"albumin_g_dl", "(g_l)", albumin_g_dl>,
    def_array<"hwe_chi2", "(n_aa, n_ab, n_bb)", hwe_chi2>,
    def_array<"hwe_exact", "(n_aa, n_ab, n_bb)", hwe_exact>,
    def_array<"hwe_exact_midp", "(n_aa, n_ab, n_bb)", hwe_exact_midp>,
};
constinit const Rows rows = kRows;

}  // namespace quorin::published
