#pragma once
// What the clients of one desktop share to take turns at the console: the
// names of two mutexes, and how a client that relays prints is found and
// asked. Only the client library uses these.

// Held for one exchange: a print (the stream file written and printed) or a
// request, until the console has answered.
inline constexpr char EXCHANGE_MUTEX_NAME[] = "korvane_bridge_exchange";
// Held while a client window exists: the console notifies only one.
inline constexpr char NOTIFICATION_MUTEX_NAME[] = "korvane_bridge_notifications";

// A client window with this property has a line request pending: it prints
// other clients' text and takes their cancels.
inline constexpr char RELAY_PROPERTY[] = "korvane_relays_prints";
// Sent to that window by a client that holds the exchange (for a print, once
// it has written the stream file), with wParam the sender's process id and
// lParam the number of its offer (client/relay_offer.h), which names the
// shared record "korvane_relay_offer_PID_N". Answered 1 when taken.
inline constexpr unsigned RELAYED_PRINT = 0x8000 + 11;   // WM_APP+11
inline constexpr unsigned RELAYED_CANCEL = 0x8000 + 12;  // WM_APP+12

// Closes the mutex handles of a client.
void closeTurns(void*& exchange, void*& notifications);
