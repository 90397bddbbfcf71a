#pragma once
// The network error codes programs compare against. They keep the numbers of the
// socket layer the runtime was first written for; the system's errno values and
// resolver failures are translated into them as they happen.
#include <cstdint>
#include <string>

namespace tvk {

enum NetErrorCode : int32_t {
    kNetErrNone = 0,
    kNetErrTableFull = 8,          // every socket table entry is in use
    kNetErrInterrupted = 10004,
    kNetErrBadHandle = 10009,
    kNetErrAccess = 10013,
    kNetErrFault = 10014,
    kNetErrInvalid = 10022,
    kNetErrTooManyOpen = 10024,
    kNetErrWouldBlock = 10035,
    kNetErrInProgress = 10036,     // also stored when a connection attempt times out
    kNetErrAlready = 10037,
    kNetErrNotSocket = 10038,
    kNetErrDestinationRequired = 10039,
    kNetErrMessageSize = 10040,
    kNetErrProtocolType = 10041,
    kNetErrProtocolOption = 10042,
    kNetErrProtocolNotSupported = 10043,
    kNetErrSocketTypeNotSupported = 10044,
    kNetErrOperationNotSupported = 10045,
    kNetErrFamilyNotSupported = 10047,
    kNetErrAddressInUse = 10048,
    kNetErrAddressNotAvailable = 10049,
    kNetErrNetworkDown = 10050,
    kNetErrNetworkUnreachable = 10051,
    kNetErrNetworkReset = 10052,
    kNetErrConnectionAborted = 10053,
    kNetErrConnectionReset = 10054,
    kNetErrNoBuffers = 10055,
    kNetErrIsConnected = 10056,
    kNetErrNotConnected = 10057,
    kNetErrShutDown = 10058,
    kNetErrTimedOut = 10060,
    kNetErrConnectionRefused = 10061,
    kNetErrNameTooLong = 10063,
    kNetErrHostDown = 10064,
    kNetErrHostUnreachable = 10065,
    kNetErrNotStarted = 10093,     // an operation before net_init
    kNetErrHostNotFound = 11001,
    kNetErrTryAgain = 11002,
    kNetErrNoRecovery = 11003,
    kNetErrNoData = 11004,
};

// The runtime's code for a system errno value; values without a counterpart are
// kept as they are.
int32_t net_error_from_errno(int error);
// The runtime's code for a getaddrinfo failure (EAI_*).
int32_t net_error_from_resolver(int error);
// The system's message for a runtime code; empty when it has none.
std::string net_error_message(int32_t code);

}  // namespace tvk
