// What went wrong in a failed transfer, told from the reply of its last exchange. The
// window shows one message whatever the cause; the command-line tool names the cause.
#pragma once

#include <string>

namespace mxc9 {

enum class TransferFault {
    None,              // the reply is what the transaction needs
    NoReply,           // not one byte within the receive time-out
    ShortReply,        // some bytes, then the time-out
    ChecksumMismatch,  // a whole read reply whose last byte is not the sum of its data
    WriteRefused,      // a whole write reply that does not end in the acknowledgement
};

// The reply to the read command (at most 44 bytes, as the link reads it).
TransferFault ClassifyReadReply(const std::string& reply);
// The reply to a write frame (at most 45 bytes).
TransferFault ClassifyWriteReply(const std::string& reply);

}  // namespace mxc9
