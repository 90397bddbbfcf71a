#pragma once
// The network error codes the socket service reports and programs compare against.
// They keep the numbers of the socket layer the runtime was first written for, so a
// backend over that layer passes its own codes through and every other backend
// translates its system's failures into them.
#include <cstdint>

namespace tvk::platform {

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
    kNetErrNotStarted = 10093,     // an operation before the network layer was started
    kNetErrHostNotFound = 11001,
    kNetErrTryAgain = 11002,
    kNetErrNoRecovery = 11003,
    kNetErrNoData = 11004,
};

}  // namespace tvk::platform
