// The sensor's serial byte stream as the host reads it: any bytes, cut into pieces the way a
// serial line delivers them (the first byte chooses the piece size). The messages must not
// depend on where the line cut the bytes, every message must encode and decode back to
// itself, and every acknowledgement goes through the check the program's mode command uses.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "CommandAck.h"
#include "SensorLink.h"
#include "ZUVO_DataProcessExtras.h"
#include "fuzz/FuzzSupport.h"

namespace {

using namespace zuvo::radar::link;
using zuvo::fuzz::Check;

std::vector<std::vector<uint8_t>> Encoded(const std::vector<Message>& messages) {
    std::vector<std::vector<uint8_t>> packets;
    packets.reserve(messages.size());
    for (const Message& message : messages) {
        packets.push_back(Encode(message));
    }
    return packets;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) {
        return 0;
    }
    const size_t piece = 1 + data[0] % 64;
    const uint8_t* bytes = data + 1;
    const size_t length = size - 1;

    SensorLinkDecoder whole;
    std::vector<Message> inOne;
    whole.Feed(bytes, length, inOne);

    SensorLinkDecoder cut;
    std::vector<Message> inPieces;
    for (size_t at = 0; at < length; at += piece) {
        cut.Feed(bytes + at, std::min(piece, length - at), inPieces);
    }
    const std::vector<std::vector<uint8_t>> packets = Encoded(inOne);
    Check(Encoded(inPieces) == packets, "the messages depend on where the line cut the bytes");
    Check(whole.SkippedBytes() == cut.SkippedBytes() && whole.BadChecks() == cut.BadChecks() &&
              whole.Malformed() == cut.Malformed(),
          "the counts depend on where the line cut the bytes");

    for (size_t i = 0; i < inOne.size(); ++i) {
        // Decoding normalises (a float read into a double and written back); after that a
        // message must stay what it is.
        SensorLinkDecoder again;
        std::vector<Message> decoded;
        again.Feed(packets[i].data(), packets[i].size(), decoded);
        Check(decoded.size() == 1, "an encoded message does not decode to one message");
        const std::vector<uint8_t> once = Encode(decoded[0]);
        std::vector<Message> twice;
        SensorLinkDecoder third;
        third.Feed(once.data(), once.size(), twice);
        Check(twice.size() == 1 && Encode(twice[0]) == once, "a message changes at every pass");
        if (const auto* ack = std::get_if<CommandAck>(&inOne[i])) {
            for (uint16_t command : {uint16_t{0x80}, uint16_t{0x90}}) {
                (void)zuvo::radar::CheckAck(RADAR_PROTOCOL_V2, ack->bytes.data(),
                                            static_cast<int>(ack->bytes.size()), command);
            }
        }
    }
    return 0;
}
