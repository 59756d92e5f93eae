#pragma once
// Keyless building blocks of the field cipher: the byte string, its clipping slices and
// little-endian integers, the hexadecimal codec, CRC-32, MD5 as hexadecimal text, the value
// of a hexadecimal digit, the byte swap, the mask XOR and the random byte source.
//
// Positions are 1-based throughout: position 1 is the first byte. Slices clip instead of
// failing. Nothing here reports an error.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

using ByteString = std::vector<std::uint8_t>;

// A text's bytes, without a terminator.
ByteString TextToBytes(const std::string& text);
// The bytes up to, not including, the first 0 byte; all of them when there is none.
std::string BytesToText(const ByteString& bytes);

// Clipping slices: a negative count counts as 0, a count past the end stops at the end, a
// start position below 1 counts as 1 and a start beyond the end gives the empty slice.
ByteString FirstBytes(const ByteString& bytes, long long count);
ByteString LastBytes(const ByteString& bytes, long long count);
ByteString MidBytes(const ByteString& bytes, long long position, long long count);

// Little-endian integers; reading pads missing high-order bytes with 0 and sign-extends.
ByteString Int32ToBytes(std::int32_t value);
ByteString Int16ToBytes(std::int16_t value);
std::int32_t BytesToInt32(const ByteString& bytes);
std::int16_t BytesToInt16(const ByteString& bytes);

ByteString HexToBytes(const std::string& text);
std::string BytesToHex(const ByteString& bytes);
std::uint32_t Crc32OfBytes(const ByteString& bytes);
std::string Md5HexUpper(const ByteString& bytes);
// The same digest text written to out[0..31], for loops that must not allocate per step.
void Md5HexUpperInto(const void* data, std::size_t size, char* out);
std::int32_t HexDigitValue(const std::string& text);
void SwapBytes(ByteString& bytes, long long a, long long b);
ByteString XorWithFirstByte(const ByteString& data, const ByteString& mask);
std::uint32_t RandomInRange(std::uint32_t low, std::uint32_t high);
