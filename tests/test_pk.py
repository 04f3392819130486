"""First-order elimination, Cheng-Prusoff IC50 and Michaelis-Menten velocity."""

import math

import pytest

import quorin
from exact import assert_same

inf, nan = math.inf, math.nan

PK_C0 = "Quorin.FirstOrderPK: c0 must be positive (concentration_pos)"
PK_KE = "Quorin.FirstOrderPK: ke must be non-negative"
PK_TIME = "Quorin.FirstOrderPK: time must be non-negative"
PK_HALF = "Quorin.FirstOrderPK: ke must be positive (halflife_positive)"
IC_KI = "Quorin.IC50Relationship: ki must be positive (ic50_pos)"
IC_S = "Quorin.IC50Relationship: substrate must be non-negative"
IC_KM = "Quorin.IC50Relationship: km must be positive (ic50_pos)"
MM_V = "Quorin.MichaelisMenten: vmax must be positive (velocity_pos)"
MM_KM = "Quorin.MichaelisMenten: km must be positive"
MM_S = "Quorin.MichaelisMenten: substrate must be positive (velocity_pos)"

VALUES = [
    ("first_order_pk_concentration", (10.0, 0.0, 3.0), 10.0),
    ("first_order_pk_concentration", (10.0, 0.0, inf), nan),   # 0 * inf in the exponent
    ("first_order_pk_concentration", (10.0, 0.5, inf), 0.0),
    ("first_order_pk_concentration", (10.0, -0.0, 0.0), 10.0),
    ("first_order_pk_concentration", (10.0, 0.3, 2.5), math.exp(2.5 * -0.3) * 10.0),
    ("first_order_pk_concentration", (3.0, 0.7, 0.1), math.exp(0.1 * -0.7) * 3.0),
    ("first_order_pk_concentration", (inf, 1.0, 1.0), inf),
    ("first_order_pk_concentration", (1e-300, 1.0, 800.0), 0.0),  # underflow is returned
    ("first_order_pk_halflife", (1.0,), 0.6931471805599453),
    ("first_order_pk_halflife", (0.1,), 0.6931471805599453 / 0.1),
    ("first_order_pk_halflife", (inf,), 0.0),
    ("first_order_pk_halflife", (5e-324,), inf),
    ("ic50_bound", (2.0, 0.0, 5.0), 2.0),                    # no substrate: IC50 equals Ki
    ("ic50_bound", (2.0, -0.0, 5.0), 2.0),
    ("ic50_bound", (2.0, 5.0, 5.0), 4.0),
    ("ic50_bound", (0.3, 0.7, 0.9), 0.3 * (0.7 / 0.9 + 1.0)),
    ("ic50_bound", (1.0, inf, 1.0), inf),
    ("ic50_bound", (1.0, inf, inf), nan),
    ("michaelis_menten", (10.0, 2.0, 2.0), 5.0),
    ("michaelis_menten", (0.3, 0.7, 0.9), (0.3 * 0.9) / (0.7 + 0.9)),
    ("michaelis_menten", (10.0, 2.0, inf), nan),               # inf / inf
    ("michaelis_menten", (1e308, 1.0, 1e308), inf),            # the product overflows first
    ("michaelis_menten", (1.0, 1e308, 1e308), 1e308 / inf),
]

# A NaN in any one argument, the others valid, passes every check and gives NaN.
VALID = {
    "first_order_pk_concentration": (10.0, 0.5, 2.0),
    "first_order_pk_halflife": (0.5,),
    "ic50_bound": (2.0, 1.0, 5.0),
    "michaelis_menten": (10.0, 2.0, 2.0),
}
NAN_CASES = [(name, args[:k] + (nan,) + args[k + 1:], nan)
             for name, args in VALID.items() for k in range(len(args))]


@pytest.mark.parametrize("name, args, expected", VALUES + NAN_CASES)
def test_values(name, args, expected):
    assert_same(getattr(quorin, name)(*args), expected)


PRECONDITIONS = [
    ("first_order_pk_concentration", (0.0, -1.0, -1.0), PK_C0),  # the first failing check wins
    ("first_order_pk_concentration", (-0.0, 1.0, 1.0), PK_C0),
    ("first_order_pk_concentration", (-inf, 1.0, 1.0), PK_C0),
    ("first_order_pk_concentration", (1.0, -1.0, -1.0), PK_KE),
    ("first_order_pk_concentration", (1.0, -5e-324, 0.0), PK_KE),
    ("first_order_pk_concentration", (nan, -1.0, 1.0), PK_KE),   # NaN passes its own check only
    ("first_order_pk_concentration", (1.0, 0.0, -1.0), PK_TIME),
    ("first_order_pk_concentration", (1.0, nan, -inf), PK_TIME),
    ("first_order_pk_halflife", (0.0,), PK_HALF),
    ("first_order_pk_halflife", (-0.0,), PK_HALF),
    ("first_order_pk_halflife", (-1.0,), PK_HALF),
    ("ic50_bound", (0.0, -1.0, 0.0), IC_KI),
    ("ic50_bound", (-0.0, 1.0, 1.0), IC_KI),
    ("ic50_bound", (1.0, -1.0, 0.0), IC_S),
    ("ic50_bound", (nan, -inf, 1.0), IC_S),
    ("ic50_bound", (1.0, 1.0, 0.0), IC_KM),
    ("ic50_bound", (1.0, nan, -0.0), IC_KM),
    ("michaelis_menten", (0.0, 0.0, 0.0), MM_V),
    ("michaelis_menten", (-0.0, 1.0, 1.0), MM_V),
    ("michaelis_menten", (10.0, 0.0, 0.0), MM_KM),
    ("michaelis_menten", (10.0, -0.0, 1.0), MM_KM),
    ("michaelis_menten", (10.0, 2.0, 0.0), MM_S),
    ("michaelis_menten", (10.0, 2.0, -0.0), MM_S),
    ("michaelis_menten", (nan, nan, -1.0), MM_S),
]


@pytest.mark.parametrize("name, args, message", PRECONDITIONS)
def test_preconditions(name, args, message):
    with pytest.raises(ValueError) as e:
        getattr(quorin, name)(*args)
    assert e.value.args == (message,)


@pytest.mark.parametrize("call, message", [
    (lambda: quorin.first_order_pk_concentration("1", -1.0, -1.0),
     "argument 'c0': must be real number, not str"),
    (lambda: quorin.ic50_bound(0.0, None, 0.0), "argument 'substrate': must be real number, not NoneType"),
    (lambda: quorin.michaelis_menten(vmax=0.0, substrate=[], km="k"),
     "argument 'km': must be real number, not str"),  # converted in parameter order, not keyword order
])
def test_conversion_before_preconditions(call, message):
    with pytest.raises(TypeError) as e:
        call()
    assert e.value.args == (message,)


def test_keywords_follow_each_signature():
    # The same names in a different order: ic50_bound(ki, substrate, km) against
    # michaelis_menten(vmax, km, substrate).
    assert_same(quorin.ic50_bound(2.0, 5.0, 10.0), quorin.ic50_bound(km=10.0, substrate=5.0, ki=2.0))
    assert_same(quorin.michaelis_menten(10.0, 2.0, 8.0),
                quorin.michaelis_menten(substrate=8.0, km=2.0, vmax=10.0))
    assert_same(quorin.michaelis_menten(10.0, 2.0, 8.0), 8.0)
