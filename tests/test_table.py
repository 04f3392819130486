"""The registration table: every function, in order, with its text signature."""

import quorin

TABLE = [
    ('mrna_halflife_concentration', '(initial, decay_rate, time)'),
    ('mrna_halflife', '(decay_rate)'),
    ('ribosome_density', '(n_ribosomes, length)'),
    ('translation_rate', '(codon_rate, ribosome_density, mrna_copies)'),
    ('gc_content', '(sequence)'),
    ('sequence_identity', '(seq1, seq2)'),
    ('shannon_entropy', '(p)'),
    ('shannon_entropy_dist', '(probabilities)'),
    ('first_order_pk_concentration', '(c0, ke, time)'),
    ('first_order_pk_halflife', '(ke)'),
    ('ic50_bound', '(ki, substrate, km)'),
    ('michaelis_menten', '(vmax, km, substrate)'),
    ('biological_age_bound', '(pheno_age, telomere_age, epigenetic_age, w1=0.333, w2=0.333, w3=0.334)'),
    ('telomere_length_bound', '(age)'),
    ('gompertz_hazard', '(alpha, beta, time)'),
    ('hardy_weinberg', '(p)'),
    ('hardy_weinberg_test', '(n_aa_dom, n_aa_het, n_aa_rec)'),
    ('protein_rmsd', '(coords1, coords2)'),
    ('gibbs_free_energy', '(dh, t, ds)'),
    ('arrhenius_rate', '(a, ea, t)'),
    ('boltzmann_factor', '(e, t)'),
    ('boltzmann_probability', '(e, t, z)'),
    ('nernst_potential', '(e0, t, n, c_out, c_in)'),
    ('osmotic_pressure', '(i, m, t)'),
    ('proton_motive_force', '(d_psi, t, d_ph)'),
    ('hill_effect', '(emax, ec50, c, n)'),
    ('hill_occupancy', '(s, k, n)'),
    ('langmuir_coverage', '(k, c)'),
    ('monod_growth', '(mu_max, ks, s)'),
    ('receptor_occupancy', '(l, kd)'),
    ('competitive_inhibition', '(vmax, km, s, i, ki)'),
    ('catalytic_efficiency', '(kcat, km)'),
    ('protein_steady_state', '(ksyn, kdeg)'),
    ('beer_lambert', '(eps, c, l)'),
    ('quantum_yield', '(kr, knr)'),
    ('fret_efficiency', '(r, r0)'),
    ('einstein_stokes', '(t, eta, r)'),
    ('fick_flux', '(d, c_high, c_low, dx)'),
    ('poiseuille_flow', '(r, dp, eta, l)'),
    ('sigmoid', '(x)'),
    ('logistic_growth', '(k, n0, r, t)'),
    ('clone_size', '(n0, r, t)'),
    ('doubling_time', '(mu)'),
    ('pcr_copies', '(n0, e, n)'),
    ('dilution_concentration', '(c0, d, n)'),
    ('allometric', '(a, m, b)'),
    ('weibull_survival', '(t, lambda, k)'),
    ('reproduction_number', '(beta, gamma)'),
    ('bmi', '(weight_kg, height_m)'),
    ('body_surface_area', '(height_cm, weight_kg)'),
    ('cardiac_output', '(hr, sv)'),
    ('oxygen_saturation', '(hb_o2, hb)'),
    ('henderson_hasselbalch', '(pka, base, acid)'),
    ('osmolarity', '(na, glucose, bun)'),
    ('cockcroft_gault', '(age, weight, scr, sex_factor)'),
    ('ckd_mdrd', '(scr, age, scale)'),
    ('ckd_epi', '(scr, kappa, alpha, scale)'),
    ('meld_score', '(bili, inr, creat)'),
    ('dna_tm', '(a, t, g, c)'),
    ('energy_charge', '(atp, adp, amp)'),
    ('modified_nucleotide_ratio', '(modified, total)'),
    ('pairwise_potential', '(pairs)'),
    ('riboswitch_confidence', '(mfe, ensemble_div)'),
    ('tm_term', '(d, d0)'),
    ('tm_score', '(distances, l_target, d0)'),
    ('telomere_attrition', '(l0, delta, n)'),
    ('epigenetic_acceleration', '(clock_age, chrono_age)'),
    ('senolytic_healthy_damage', '(sel, dose)'),
    ('nad_ratio', '(nad_plus, nadh)'),
    ('inflamm_aging_score', '(w_il6, w_tnfa, w_crp, il6, tnfa, crp)'),
    ('nussinov', '(sequence)'),
]


def test_registration_table():
    assert quorin.__all__ == [name for name, _ in TABLE]
    for name, signature in TABLE:
        function = getattr(quorin, name)
        assert function.__text_signature__ == signature, name


def test_only_nussinov_has_a_docstring():
    documented = [name for name, _ in TABLE if getattr(quorin, name).__doc__ is not None]
    assert documented == ["nussinov"]
    assert quorin.nussinov.__doc__ == (
        "nussinov(sequence) -> int\n\n"
        "Maximum number of non-crossing canonical base pairs (Nussinov base-pair\n"
        "maximization). Backed by the kernel-verified `nussinov_optimal` theorem in\n"
        "Quorin.RnaNussinov. Raises ``ValueError`` on a non-AUGC(T) character.")
