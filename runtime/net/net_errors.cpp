#include "runtime/net/net_errors.h"

#include <netdb.h>

#include <cerrno>
#include <cstring>

namespace tvk {

namespace {

struct ErrnoCode {
    int error;
    int32_t code;
};

constexpr ErrnoCode kErrnoCodes[] = {
    {ENOMEM, kNetErrTableFull},
    {EINTR, kNetErrInterrupted},
    {EBADF, kNetErrBadHandle},
    {EACCES, kNetErrAccess},
    {EFAULT, kNetErrFault},
    {EINVAL, kNetErrInvalid},
    {EMFILE, kNetErrTooManyOpen},
    {EWOULDBLOCK, kNetErrWouldBlock},
    {EINPROGRESS, kNetErrInProgress},
    {EALREADY, kNetErrAlready},
    {ENOTSOCK, kNetErrNotSocket},
    {EDESTADDRREQ, kNetErrDestinationRequired},
    {EMSGSIZE, kNetErrMessageSize},
    {EPROTOTYPE, kNetErrProtocolType},
    {ENOPROTOOPT, kNetErrProtocolOption},
    {EPROTONOSUPPORT, kNetErrProtocolNotSupported},
    {ESOCKTNOSUPPORT, kNetErrSocketTypeNotSupported},
    {EOPNOTSUPP, kNetErrOperationNotSupported},
    {EAFNOSUPPORT, kNetErrFamilyNotSupported},
    {EADDRINUSE, kNetErrAddressInUse},
    {EADDRNOTAVAIL, kNetErrAddressNotAvailable},
    {ENETDOWN, kNetErrNetworkDown},
    {ENETUNREACH, kNetErrNetworkUnreachable},
    {ENETRESET, kNetErrNetworkReset},
    {ECONNABORTED, kNetErrConnectionAborted},
    {ECONNRESET, kNetErrConnectionReset},
    {EPIPE, kNetErrConnectionReset},
    {ENOBUFS, kNetErrNoBuffers},
    {EISCONN, kNetErrIsConnected},
    {ENOTCONN, kNetErrNotConnected},
    {ESHUTDOWN, kNetErrShutDown},
    {ETIMEDOUT, kNetErrTimedOut},
    {ECONNREFUSED, kNetErrConnectionRefused},
    {ENAMETOOLONG, kNetErrNameTooLong},
    {EHOSTDOWN, kNetErrHostDown},
    {EHOSTUNREACH, kNetErrHostUnreachable},
};

struct ResolverCode {
    int error;
    int32_t code;
};

constexpr ResolverCode kResolverCodes[] = {
    {EAI_NONAME, kNetErrHostNotFound},
    {EAI_AGAIN, kNetErrTryAgain},
    {EAI_FAIL, kNetErrNoRecovery},
    {EAI_NODATA, kNetErrNoData},
    {EAI_ADDRFAMILY, kNetErrNoData},
    {EAI_MEMORY, kNetErrNoBuffers},
};

}  // namespace

int32_t net_error_from_errno(int error) {
    if (error == EAGAIN) return kNetErrWouldBlock;
    for (const ErrnoCode& e : kErrnoCodes) {
        if (e.error == error) return e.code;
    }
    return error;
}

int32_t net_error_from_resolver(int error) {
    if (error == EAI_SYSTEM) return net_error_from_errno(errno);
    for (const ResolverCode& r : kResolverCodes) {
        if (r.error == error) return r.code;
    }
    return kNetErrNoRecovery;
}

std::string net_error_message(int32_t code) {
    if (code == kNetErrNotStarted) return "The network layer has not been started";
    for (const ResolverCode& r : kResolverCodes) {
        if (r.code == code) return gai_strerror(r.error);
    }
    // The first errno that maps to the code names it; unmapped codes are errno values.
    int error = static_cast<int>(code);
    for (const ErrnoCode& e : kErrnoCodes) {
        if (e.code == code) {
            error = e.error;
            break;
        }
    }
    if (error < 0 || error > 4095) return {};
    const char* text = strerrordesc_np(error);
    return text ? text : std::string();
}

}  // namespace tvk
