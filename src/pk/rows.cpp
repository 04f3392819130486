#include "pk/pk.hpp"
#include "table.hpp"

namespace quorin::pk {

constexpr Row kRows[] = {
    def<"first_order_pk_concentration", "(c0, ke, time)", first_order_pk_concentration>,
    def<"first_order_pk_halflife", "(ke)", first_order_pk_halflife>,
    def<"ic50_bound", "(ki, substrate, km)", ic50_bound>,
    def<"michaelis_menten", "(vmax, km, substrate)", michaelis_menten>,
};
constinit const Rows rows = kRows;

}  // namespace quorin::pk
