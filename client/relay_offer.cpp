#include "client/relay_offer.h"

#include <atomic>

namespace {

bool changeState(RelayOffer& offer, std::int32_t from, std::int32_t to) {
    return std::atomic_ref<std::int32_t>(offer.state).compare_exchange_strong(from, to);
}

}  // namespace

bool claimOffer(RelayOffer& offer) { return changeState(offer, OFFER_OPEN, OFFER_CLAIMED); }

void completeOffer(RelayOffer& offer, BridgeResult result) {
    std::atomic_ref<std::int32_t>(offer.result).store(static_cast<std::int32_t>(result.error()));
    changeState(offer, OFFER_CLAIMED, OFFER_DONE);
}

bool withdrawOffer(RelayOffer& offer) { return changeState(offer, OFFER_OPEN, OFFER_WITHDRAWN); }

bool offerDone(RelayOffer& offer, BridgeResult& result) {
    if (std::atomic_ref<std::int32_t>(offer.state).load() != OFFER_DONE) return false;
    result = static_cast<BridgeError>(std::atomic_ref<std::int32_t>(offer.result).load());
    return true;
}
