// Decodes any 23,745-byte memory image into the model and encodes it again.
// Neither direction may crash, read or write outside the image, or hang.
// Inputs of another length are cut or padded with 0xFF to an image, so that
// every mutation the fuzzer makes still reaches the codec.
//
// With image 1 the encode of the decoded input, image 1 is decoded and
// encoded once more, into image 2:
//  - decoding image 1 gives back every channel.  A VFO group left without its
//    channel comes back with one: its record is cleared to 0 before an
//    encode, and 0 is a frequency.
//  - image 2 is image 1 with those VFO channels placed in it, and nothing
//    else changed: past the first round trip nothing the radio holds is lost,
//    moved or altered.
#include "ReusedWorkspace.h"
#include "Require.h"
#include "model/Codec.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

using namespace kt;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static fuzz::ReusedWorkspace first, second;

    Workspace& ws = first.Fresh();   // the image starts as 0xFF
    // An empty input may come without a buffer: nothing is copied then.
    if (size > 0) std::memcpy(ws.MemImage.data(), data, std::min(size, size_t(kImageSize)));
    DecodeImage(ws);
    ClearImage(ws);
    EncodeImage(ws);

    Workspace& again = second.Fresh();
    again.MemImage = ws.MemImage;   // same size: no allocation per input
    DecodeImage(again);
    for (int band = 0; band < kBands; ++band)
        for (int g = 1; g <= GroupsOfBand(band); ++g) {
            const int before = ws.ChannelCount(band, g), after = again.ChannelCount(band, g);
            const bool vfoFilled = g == VfoGroupOf(band) && before == 0 && after == 1;
            KT_REQUIRE(after == before || vfoFilled);
        }
    ClearImage(again);
    EncodeImage(again);

    for (int band = 0; band < kBands; ++band) {
        const int vfo = VfoGroupOf(band);
        if (ws.ChannelCount(band, vfo) == 0 && again.ChannelCount(band, vfo) == 1)
            EncodeChannel(ws, again.Channels(band, 1, vfo), band, vfo);
    }
    KT_REQUIRE(ws.MemImage == again.MemImage);
    return 0;
}
