// Decodes any 23,745-byte memory image into the model and encodes it again.
// Neither direction may crash, read or write outside the image, or hang; an
// encode of the decoded model must decode to the same channels.
// Inputs of another length are cut or padded with 0xFF to an image, so that
// every mutation the fuzzer makes still reaches the codec.
#include "model/Codec.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    kt::Workspace ws;   // the image starts as 0xFF
    std::memcpy(ws.MemImage.data(), data, std::min(size, size_t(kt::kImageSize)));
    kt::DecodeImage(ws);
    kt::ClearImage(ws);
    kt::EncodeImage(ws);

    kt::Workspace again;
    again.MemImage = ws.MemImage;
    kt::DecodeImage(again);
    // Every channel comes back.  A VFO group left without its channel comes back
    // with one: its record is cleared to 0 before an encode, and 0 is a frequency.
    for (int band = 0; band < kt::kBands; ++band)
        for (int g = 1; g <= kt::GroupsOfBand(band); ++g) {
            const int before = ws.ChannelCount(band, g), after = again.ChannelCount(band, g);
            const bool vfoFilled = g == kt::VfoGroupOf(band) && before == 0 && after == 1;
            if (after != before && !vfoFilled) std::abort();
        }
    return 0;
}
