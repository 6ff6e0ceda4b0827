// Decodes any 23,745-byte memory image into the model and encodes it again.
// Neither direction may crash, read or write outside the image, or hang; an
// encode of the decoded model must decode to the same channel counts.
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
    for (int band = 0; band < kt::kBands; ++band)
        for (int g = 1; g <= kt::GroupsOfBand(band); ++g)
            if (again.ChannelCount(band, g) != ws.ChannelCount(band, g)) std::abort();
    return 0;
}
