#pragma once
// Builds WAVE images byte by byte for the tests and benchmarks of parseWave:
// chunks in any order, odd lengths with or without their pad byte, and a
// RIFF length that may disagree with the bytes.
#include <cstdint>
#include <string>
#include <vector>

class WaveImage {
public:
    // "RIFF", a length patched by bytes(), "WAVE".
    WaveImage() {
        raw("RIFF");
        le32(0);
        raw("WAVE");
    }

    // A chunk: id, length, body, and a pad byte after an odd body.
    WaveImage& chunk(const std::string& id, const std::vector<std::uint8_t>& body, bool pad = true) {
        return header(id, static_cast<std::uint32_t>(body.size())).append(body, pad);
    }
    // A chunk header alone, with a length that need not match what follows.
    WaveImage& header(const std::string& id, std::uint32_t length) {
        raw(id);
        le32(length);
        return *this;
    }
    WaveImage& append(const std::vector<std::uint8_t>& body, bool pad = false) {
        bytes_.insert(bytes_.end(), body.begin(), body.end());
        if (pad && body.size() % 2 == 1) bytes_.push_back(0);
        return *this;
    }
    // A PCM "fmt " chunk of `size` bytes (16 is the usual one).
    WaveImage& format(std::uint32_t size = 16) { return chunk("fmt ", formatBody(size)); }
    WaveImage& samples(const std::vector<std::uint8_t>& body) { return chunk("data", body); }
    WaveImage& riffLength(std::uint32_t length) {
        riffLength_ = length;
        explicitLength_ = true;
        return *this;
    }

    // The image; its RIFF length counts every byte after the length field
    // unless riffLength() set one.
    std::vector<std::uint8_t> bytes() const {
        std::vector<std::uint8_t> out = bytes_;
        const std::uint32_t length = explicitLength_ ? riffLength_ : static_cast<std::uint32_t>(out.size() - 8);
        for (int i = 0; i < 4; ++i) out[4 + i] = static_cast<std::uint8_t>(length >> (8 * i));
        return out;
    }

    // 22050 Hz, one channel, 8 bits, padded with zeros to `size` bytes.
    static std::vector<std::uint8_t> formatBody(std::uint32_t size) {
        std::vector<std::uint8_t> body = {1, 0, 1, 0, 0x22, 0x56, 0, 0, 0x22, 0x56, 0, 0, 1, 0, 8, 0};
        body.resize(size, 0);
        return body;
    }
    // Sample bytes that differ from their neighbours, so that an offset error shows.
    static std::vector<std::uint8_t> pattern(std::size_t count, std::uint8_t seed = 1) {
        std::vector<std::uint8_t> body(count);
        for (std::size_t i = 0; i < count; ++i) body[i] = static_cast<std::uint8_t>(seed + i * 7);
        return body;
    }

private:
    // Byte by byte: gcc 12 warns falsely about a range insert into a new vector.
    void raw(const std::string& text) {
        for (const char c : text) bytes_.push_back(static_cast<std::uint8_t>(c));
    }
    void le32(std::uint32_t value) {
        for (int i = 0; i < 4; ++i) bytes_.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    }

    std::vector<std::uint8_t> bytes_;
    std::uint32_t riffLength_ = 0;
    bool explicitLength_ = false;
};
