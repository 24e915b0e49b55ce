#include "core/windows/infotext.h"

#include <zlib.h>

#include <limits>
#include <new>
#include <stdexcept>

namespace tafelbau {

// Written by the build from the info text file.
extern const unsigned char kInfoData[];
extern const std::size_t kInfoDataSize;

std::span<const unsigned char> builtInInfoData()
{
    return {kInfoData, kInfoDataSize};
}

UnpackedInfo unpackInfoText(std::span<const unsigned char> compressed)
{
    UnpackedInfo out;
    constexpr std::size_t maxInput = std::numeric_limits<uInt>::max() / 10;
    if (compressed.empty() || compressed.size() > maxInput) {
        out.failure = compressed.empty() ? InfoFailure::Unpacking : InfoFailure::NoMemory;
        return out;
    }

    std::string buffer;
    try {
        buffer.resize(compressed.size() * 10);
    } catch (const std::bad_alloc &) {
        out.failure = InfoFailure::NoMemory;
        return out;
    } catch (const std::length_error &) {
        out.failure = InfoFailure::NoMemory;
        return out;
    }

    z_stream z{};
    z.next_in = const_cast<Bytef *>(compressed.data());
    z.avail_in = static_cast<uInt>(compressed.size());
    z.next_out = reinterpret_cast<Bytef *>(buffer.data());
    z.avail_out = static_cast<uInt>(buffer.size());
    if (const int init = inflateInit(&z); init != Z_OK) {
        out.failure = init == Z_MEM_ERROR ? InfoFailure::NoMemory : InfoFailure::Unpacking;
        return out;
    }
    const int status = inflate(&z, Z_FINISH);
    const std::size_t length = z.total_out;
    inflateEnd(&z);
    if (status != Z_STREAM_END) {
        out.failure = InfoFailure::Unpacking;
        return out;
    }
    buffer.resize(length);
    out.text = std::move(buffer);
    return out;
}

std::string infoFailureMessage(InfoFailure failure)
{
    switch (failure) {
    case InfoFailure::None: return {};
    case InfoFailure::WindowNotOpened:
        return "Fehler in _Info(): Konnte Info-Fenster nicht \xF6"
               "ffnen!";
    case InfoFailure::NoMemory: return "Fehler in _Info(): Konnte Speicher nicht anfordern!";
    case InfoFailure::Unpacking: return "Fehler in _Info() beim Entpacken der Infodaten!";
    }
    return {};
}

} // namespace tafelbau
