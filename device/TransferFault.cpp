#include "device/TransferFault.h"

namespace mxc9 {

namespace {

TransferFault ClassifyLength(const std::string& reply, int expected) {
    if (reply.empty()) return TransferFault::NoReply;
    if (static_cast<int>(reply.size()) < expected) return TransferFault::ShortReply;
    return TransferFault::None;
}

bool IsReadAnswerAt(const std::string& bytes, size_t at) {
    if (at + kReadReplyLength > bytes.size()) return false;
    if (static_cast<uint8_t>(bytes[at]) != kReadCommand) return false;
    const auto received = static_cast<uint8_t>(bytes[at + kReadReplyLength - 1]);
    return Checksum(bytes.substr(at + 1, kImageValues)) == received;
}

bool IsWriteAnswerAt(const std::string& bytes, size_t at, const std::string& frame) {
    return at + kWriteReplyLength <= bytes.size() && bytes.compare(at, frame.size(), frame) == 0;
}

// The first place in `bytes` where `isAnswerAt` holds.
template <typename IsAnswerAt>
AnswerPlace FindAnswer(const std::string& bytes, size_t length, IsAnswerAt isAnswerAt) {
    AnswerPlace place;
    for (size_t at = 0; at + length <= bytes.size(); ++at) {
        if (!isAnswerAt(at)) continue;
        place.found = true;
        place.before = at;
        place.after = bytes.size() - at - length;
        return place;
    }
    return place;
}

// A reply cut short by a failing port is the port's fault, not the controller's.
TransferFault WithEnd(TransferFault fault, ReplyEnd end) {
    const bool cutShort = fault == TransferFault::NoReply || fault == TransferFault::ShortReply;
    return cutShort && end == ReplyEnd::PortLost ? TransferFault::PortLost : fault;
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

TransferDiagnosis DiagnoseReadReply(const std::string& reply, ReplyEnd end,
                                    const std::string& later) {
    TransferDiagnosis diagnosis;
    diagnosis.fault = WithEnd(ClassifyReadReply(reply), end);
    if (diagnosis.fault == TransferFault::None) return diagnosis;
    const std::string bytes = reply + later;
    diagnosis.answer =
        FindAnswer(bytes, kReadReplyLength, [&](size_t at) { return IsReadAnswerAt(bytes, at); });
    return diagnosis;
}

TransferDiagnosis DiagnoseWriteReply(const std::string& frame, const std::string& reply,
                                     ReplyEnd end, const std::string& later) {
    TransferDiagnosis diagnosis;
    diagnosis.fault = WithEnd(ClassifyWriteReply(reply), end);
    if (diagnosis.fault == TransferFault::None) return diagnosis;
    const std::string bytes = reply + later;
    diagnosis.answer = FindAnswer(bytes, kWriteReplyLength,
                                  [&](size_t at) { return IsWriteAnswerAt(bytes, at, frame); });
    if (diagnosis.answer.found) {
        const size_t last = diagnosis.answer.before + kWriteReplyLength - 1;
        diagnosis.answer.acknowledged = static_cast<uint8_t>(bytes[last]) == kAcknowledge;
    }
    return diagnosis;
}

}  // namespace mxc9
