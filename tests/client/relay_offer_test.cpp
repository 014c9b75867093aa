// An offered print or cancel is done by exactly one side, and a relayer's
// failure reaches the sender as a failure.
#include "client/relay_offer.h"

#include <gtest/gtest.h>

TEST(RelayOffer, OneSideOnlyAndTheRelayersFailureIsTheSendersResult) {
    RelayOffer late = {OFFER_OPEN, 0};
    EXPECT_TRUE(withdrawOffer(late));  // the relayer did not answer in time
    EXPECT_FALSE(claimOffer(late)) << "a withdrawn offer was done twice";
    BridgeResult result;
    RelayOffer taken = {OFFER_OPEN, 0};
    EXPECT_TRUE(claimOffer(taken));
    EXPECT_FALSE(withdrawOffer(taken)) << "the sender took back an offer being done";
    EXPECT_FALSE(offerDone(taken, result));
    completeOffer(taken, BridgeError::noAnswer);
    ASSERT_TRUE(offerDone(taken, result));
    EXPECT_EQ(result.error(), BridgeError::noAnswer) << "a failed relayed print was reported as printed";
}
