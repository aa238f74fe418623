// What went wrong in a failed transfer, told from the reply of its last exchange. The
// window shows one message whatever the cause; the command-line tool names the cause.
#pragma once

#include <cstddef>
#include <string>

#include "device/DeviceLink.h"

namespace mxc9 {

enum class TransferFault {
    None,              // the reply is what the transaction needs
    NoReply,           // not one byte within the receive time-out
    ShortReply,        // some bytes, then the time-out
    ChecksumMismatch,  // a whole read reply whose last byte is not the sum of its data
    WriteRefused,      // a whole write reply that does not end in the acknowledgement
    PortLost,          // the port failed before the reply was whole: hung up or closed
                       // by the far end
};

// The reply to the read command (at most 44 bytes, as the link reads it).
TransferFault ClassifyReadReply(const std::string& reply);
// The reply to a write frame (at most 45 bytes).
TransferFault ClassifyWriteReply(const std::string& reply);

// Where the controller's own answer stands among the bytes that came: it begins with the
// request echoed and, for a read, ends in a good checksum. A line that carries bytes left
// over from an earlier answer, or noise, puts it later than the link looks for it.
struct AnswerPlace {
    bool found = false;
    size_t before = 0;          // unexpected bytes ahead of it
    size_t after = 0;           // bytes behind it, among those looked at
    bool acknowledged = false;  // a write answer ending in the acknowledgement
};

struct TransferDiagnosis {
    TransferFault fault = TransferFault::None;
    AnswerPlace answer;  // looked for only when the transaction failed
};

// `reply` and `end` as the link read them (lastReply, lastReplyEnd); `later` what came
// after the reply until the line went quiet (ReadUntilQuiet; may be empty).
TransferDiagnosis DiagnoseReadReply(const std::string& reply, ReplyEnd end,
                                    const std::string& later);
// The same for a write; `frame` is the write frame that was sent.
TransferDiagnosis DiagnoseWriteReply(const std::string& frame, const std::string& reply,
                                     ReplyEnd end, const std::string& later);

}  // namespace mxc9
