"""
A survival curve
================

Lifetimes of 300 subjects drawn from a Weibull distribution (scale λ = 8 years, shape k = 1.6),
their empirical survival curve (the share still alive at each time; nobody is censored) against
``quorin_np.weibull_survival``, and the Gompertz hazard of an ageing population beside it.
"""

import matplotlib.pyplot as plt
import numpy as np

import quorin_np

rng = np.random.default_rng(3)
lifetimes = np.sort(8.0 * rng.weibull(1.6, size=300))
alive = 1.0 - np.arange(1, lifetimes.size + 1) / lifetimes.size
t = np.linspace(0.0, 25.0, 300)
model = quorin_np.weibull_survival(t, 8.0, 1.6)
print(f"median lifetime: observed {np.median(lifetimes):.2f} years, "
      f"model {8.0 * np.log(2.0) ** (1 / 1.6):.2f} years")

fig, (left, right) = plt.subplots(1, 2, figsize=(8, 3.3))
left.step(lifetimes, alive, where="post", label="observed (300)")
left.plot(t, model, label="weibull_survival(t, 8, 1.6)")
left.set_xlabel("time (years)")
left.set_ylabel("surviving share")
left.legend(fontsize="small")

# The Gompertz law on the right: a hazard that grows exponentially with age, here doubling
# every ln 2 / 0.085 ≈ 8 years, on a logarithmic scale.
age = np.linspace(30.0, 100.0, 200)
right.semilogy(age, quorin_np.gompertz_hazard(5e-5, 0.085, age))
right.set_xlabel("age (years)")
right.set_ylabel("hazard per year")
