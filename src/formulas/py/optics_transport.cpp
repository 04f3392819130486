#include "formulas/optics_transport.hpp"
#include "table.hpp"

namespace quorin::formulas::py {

constexpr Row kOpticsTransport[] = {
    def<"beer_lambert", "(eps, c, l)", beer_lambert>,
    def<"quantum_yield", "(kr, knr)", quantum_yield>,
    def<"fret_efficiency", "(r, r0)", fret_efficiency>,
    def<"einstein_stokes", "(t, eta, r)", einstein_stokes>,
    def<"fick_flux", "(d, c_high, c_low, dx)", fick_flux>,
    def<"poiseuille_flow", "(r, dp, eta, l)", poiseuille_flow>,
};
constinit const Rows optics_transport = kOpticsTransport;

}  // namespace quorin::formulas::py
