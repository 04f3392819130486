"""Clinical indices: values (bit-exact), precondition order and messages."""
import math

import pytest

import quorin
from exact import assert_same

NAN = math.nan
BMI = "Quorin.BMI: weight and height must be positive"
BSA = "Quorin.BodySurfaceArea: height and weight must be non-negative"
CO = "Quorin.CardiacOutput: HR and SV must be positive"
SAT, SAT_TOTAL = ("Quorin.BloodOxygenSaturation: values must be non-negative",
                  "Quorin.BloodOxygenSaturation: total Hb must be positive")
HH = "Quorin.HendersonHasselbalch: base and acid must be positive"
OSM = "Quorin.Osmolarity: inputs must be non-negative"
CG_AGE, CG = ("Quorin.CockcroftGault: age must be in [0,140)",
              "Quorin.CockcroftGault: weight, Scr, sex_factor must be positive")
MDRD = "Quorin.CkdMdrd: Scr, age, scale must be positive"
EPI = "Quorin.CkdEpi: Scr, \u03ba, scale must be positive"
MELD = "Quorin.MeldScore: bili, inr, creat must be positive"


def meld(bili, inr, creat):
    s1 = 3.78 * math.log(bili)
    s2 = 11.2 * math.log(inr) + s1
    return (9.57 * math.log(creat) + s2) + 6.43


VALUES = [
    ("bmi", (70, 1.75), 22.857142857142858), ("bmi", (NAN, 1.75), NAN),
    ("body_surface_area", (180, 80), 2.0), ("body_surface_area", (0, 80), 0.0),
    ("body_surface_area", (-0.0, 80), -0.0),
    ("cardiac_output", (NAN, 5), NAN), ("cardiac_output", (70, 0.07), 70 * 0.07),
    ("oxygen_saturation", (3, 1), 0.75), ("oxygen_saturation", (0, 5), 0.0),
    ("oxygen_saturation", (NAN, 0), NAN),
    ("henderson_hasselbalch", (6.1, 10, 1), 7.1),
    ("henderson_hasselbalch", (-2, 3, 7), math.log(3 / 7) / 2.302585092994046 + -2),
    ("osmolarity", (140, 90, 14), 290.0), ("osmolarity", (0, 0, 0), 0.0),
    ("osmolarity", (135.5, 101, 7), (2 * 135.5 + 101 / 18.0) + 7 / 2.8),
    ("cockcroft_gault", (40, 72, 1, 1), 100.0), ("cockcroft_gault", (0, 72, 1, 1), 140.0),
    ("cockcroft_gault", (139.5, 61, 0.9, 0.85), 0.85 * (((140.0 - 139.5) * 61) / (0.9 * 72.0))),
    ("cockcroft_gault", (NAN, 72, 1, 1), NAN),
    ("ckd_mdrd", (1, 1, 1), 175.0),
    ("ckd_mdrd", (1.3, 61, 0.742), (61 ** -0.203 * (1.3 ** -1.154 * 175.0)) * 0.742),
    ("ckd_epi", (0.8, 0.8, -0.329, 1), 141.0), ("ckd_epi", (2.5, 2.5, 7.0, 1), 141.0),
    ("ckd_epi", (0.8, 0.8, NAN, 2), 282.0), ("ckd_epi", (NAN, 0.7, -0.329, 1), 141.0),
    ("ckd_epi", (0.5, 0.7, -0.329, 1.018), (1.0 * ((0.5 / 0.7) ** -0.329 * 141.0)) * 1.018),
    ("ckd_epi", (1.3, 0.9, -0.411, 1), ((1.3 / 0.9) ** -1.209 * (1.0 * 141.0)) * 1),
    ("meld_score", (1, 1, 1), 6.43), ("meld_score", (0.5, 1, 1), meld(0.5, 1, 1)),
    ("meld_score", (0.1, 0.5, 0.2), meld(0.1, 0.5, 0.2)), ("meld_score", (NAN, 1, 1), NAN),
]

ERRORS = [
    ("bmi", (70, 0), BMI), ("bmi", (0, 1.75), BMI), ("bmi", (70, -0.0), BMI),
    ("body_surface_area", (-1, 80), BSA), ("body_surface_area", (180, -1e-300), BSA),
    ("cardiac_output", (70, 0), CO), ("cardiac_output", (-1, NAN), CO),
    ("oxygen_saturation", (0, 0), SAT_TOTAL), ("oxygen_saturation", (-0.0, 0), SAT_TOTAL),
    ("oxygen_saturation", (-1, 0), SAT), ("oxygen_saturation", (1, -1), SAT),
    ("henderson_hasselbalch", (6.1, 10, 0), HH), ("henderson_hasselbalch", (6.1, -0.0, 1), HH),
    ("osmolarity", (140, -1, 14), OSM), ("osmolarity", (-1, 0, 0), OSM),
    ("osmolarity", (0, 0, -1), OSM),
    ("cockcroft_gault", (140, 72, 1, 1), CG_AGE), ("cockcroft_gault", (150, -1, 1, 1), CG_AGE),
    ("cockcroft_gault", (-1, 72, 1, 1), CG_AGE), ("cockcroft_gault", (40, 0, 1, 1), CG),
    ("cockcroft_gault", (40, 72, 0, 1), CG), ("cockcroft_gault", (40, 72, 1, -0.0), CG),
    ("ckd_mdrd", (0, 1, 1), MDRD), ("ckd_mdrd", (1, 0, 1), MDRD), ("ckd_mdrd", (1, 1, 0), MDRD),
    ("ckd_epi", (1, 0, 1, 1), EPI), ("ckd_epi", (0, 1, 1, 1), EPI), ("ckd_epi", (1, 1, 1, 0), EPI),
    ("meld_score", (0, 1, 1), MELD), ("meld_score", (1, 0, 1), MELD),
    ("meld_score", (1, 1, -1), MELD),
]


@pytest.mark.parametrize("name, args, expected", VALUES)
def test_value(name, args, expected):
    assert_same(getattr(quorin, name)(*args), expected)


@pytest.mark.parametrize("name, args, message", ERRORS)
def test_precondition(name, args, message):
    with pytest.raises(ValueError) as info:
        getattr(quorin, name)(*args)
    assert info.value.args == (message,)


def test_conversion_precedes_preconditions():
    with pytest.raises(TypeError, match=r"^argument 'kappa': must be real number, not str$"):
        quorin.ckd_epi(0, "0.7", -0.3, 0)
