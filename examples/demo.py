"""A short tour of quorin: a few contracts, keyword calls, a fold, and what a call outside a
contract's preconditions does."""

import quorin

print(quorin.__doc__.splitlines()[0])
print(f"{len(quorin.__all__)} functions registered")
print()
print("mRNA left after 5 time units, k = 0.1:", quorin.mrna_halflife_concentration(100.0, 0.1, 5.0))
print("half-life for k = 0.1:", quorin.mrna_halflife(decay_rate=0.1))
print("ribosome density, 50 ribosomes on 10 units:", quorin.ribosome_density(50.0, 10.0))
print("BMI of 70 kg at 1.75 m:", quorin.bmi(weight_kg=70, height_m=1.75))
print("Hardy-Weinberg genotype frequencies at p = 0.3:", quorin.hardy_weinberg(0.3))
print("base pairs of GGGAAACCC:", quorin.nussinov("GGGAAACCC"))
print()
print("A call outside a contract's preconditions raises ValueError with the contract's message.")
print("For example, a decay rate must be positive, so quorin.mrna_halflife(0.0) is")
try:
    quorin.mrna_halflife(0.0)
except ValueError as error:
    print("  refused:", error)
print()
print("Every function, with its formula, checks and examples: docs/functions.md")
