#include "core/loading_stamp.h"

#include "nubra/time_util.h"

namespace orvo {

namespace {
// Static TLS: liborvo is linked, never opened later, and the stamp is read once per object.
[[gnu::tls_model("initial-exec")]] thread_local int t_builds = 0;
[[gnu::tls_model("initial-exec")]] thread_local std::int64_t t_stamp = 0;
} // namespace

LoadingStampScope::LoadingStampScope() {
    if (t_builds++ == 0)
        t_stamp = NowMs();
}

LoadingStampScope::~LoadingStampScope() {
    --t_builds;
}

std::int64_t LoadingStamp() {
    return t_builds > 0 ? t_stamp : NowMs();
}

} // namespace orvo
