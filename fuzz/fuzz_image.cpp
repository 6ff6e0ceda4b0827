// Decodes any 23,745-byte memory image into the model and encodes it again.
// Neither direction may crash, read or write outside the image, or hang; an
// encode of the decoded model must decode to the same channel counts.
#include "model/Codec.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size != size_t(kt::kImageSize)) return -1;
    kt::Workspace ws;
    std::memcpy(ws.MemImage.data(), data, size);
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
