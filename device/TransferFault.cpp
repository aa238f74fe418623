#include "device/TransferFault.h"

#include "device/DeviceLink.h"

namespace mxc9 {

namespace {

TransferFault ClassifyLength(const std::string& reply, int expected) {
    if (reply.empty()) return TransferFault::NoReply;
    if (static_cast<int>(reply.size()) < expected) return TransferFault::ShortReply;
    return TransferFault::None;
}

}  // namespace

TransferFault ClassifyReadReply(const std::string& reply) {
    const TransferFault length = ClassifyLength(reply, kReadReplyLength);
    if (length != TransferFault::None) return length;
    // The first byte echoes the command; the checksum covers the 42 data bytes after it.
    const auto received = static_cast<uint8_t>(reply[kReadReplyLength - 1]);
    return Checksum(reply.substr(1, kImageValues)) == received ? TransferFault::None
                                                               : TransferFault::ChecksumMismatch;
}

TransferFault ClassifyWriteReply(const std::string& reply) {
    const TransferFault length = ClassifyLength(reply, kWriteReplyLength);
    if (length != TransferFault::None) return length;
    return static_cast<uint8_t>(reply[kWriteReplyLength - 1]) == kAcknowledge
               ? TransferFault::None
               : TransferFault::WriteRefused;
}

}  // namespace mxc9
