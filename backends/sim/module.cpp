// The entry points kestrel looks up in a back end module.
#include "backends/sim/sim_exchange.h"

extern "C" IXO* KestrelCreateBackEnd() {
    return new sim::SimExchange();
}

extern "C" void KestrelDestroyBackEnd(IXO* backEnd) {
    delete backEnd;
}
