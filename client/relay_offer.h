#pragma once
// A print or a cancel that the client holding the exchange offers to the
// client whose line is open, in a record both processes share. Whoever
// changes the offer's state first decides who does it: the relayer claims it
// before it touches anything, the sender withdraws it when the relayer did
// not answer in time and then does it itself. So it is done once, and always
// while the sender still holds the exchange.
#include <cstdint>

#include "client/bridge_result.h"

struct RelayOffer {
    std::int32_t state;   // one of the states below
    std::int32_t result;  // the BridgeError of the relayer, once done
};

inline constexpr std::int32_t OFFER_OPEN = 0;
inline constexpr std::int32_t OFFER_CLAIMED = 1;
inline constexpr std::int32_t OFFER_DONE = 2;
inline constexpr std::int32_t OFFER_WITHDRAWN = 3;

// The relayer: true when the offer was still open and is now its to do.
bool claimOffer(RelayOffer& offer);
// The relayer, after a claim: what came of it.
void completeOffer(RelayOffer& offer, BridgeResult result);
// The sender: true when the offer was still open and is now its own again.
bool withdrawOffer(RelayOffer& offer);
// The sender: true once the relayer has completed it; `result` is then its
// outcome, a failure when the relayer's print or cancel failed.
bool offerDone(RelayOffer& offer, BridgeResult& result);
