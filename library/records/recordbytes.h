// The common base of the seven settings records: a fixed-size array of raw
// bytes with typed, little-endian accessors at compile-time offsets. Every
// offset and field width is checked against the record size by static_assert,
// so a record class cannot read or write outside its bytes. Bytes that no
// accessor names (padding, reserved fields) are kept exactly as they were
// read and written back unchanged.
#pragma once

#include <algorithm>
#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <string>
#include <string_view>

#include "library/records/datetime.h"

namespace vantlo {

namespace recordbytes {

// Cuts `text` to at most `capacity` bytes without splitting a UTF-8 sequence,
// so a truncated name never ends in half a character.
std::string_view FitString(std::string_view text, std::size_t capacity);

}  // namespace recordbytes

template <std::size_t N>
class trecord {
 public:
  static constexpr std::size_t Size = N;

  // Views of the bytes; not offered on a temporary, whose view would dangle.
  std::span<std::uint8_t, N> Bytes() & { return bytes_; }
  std::span<const std::uint8_t, N> Bytes() const& { return bytes_; }
  void Bytes() && = delete;
  std::uint8_t* Data() & { return bytes_.data(); }
  const std::uint8_t* Data() const& { return bytes_.data(); }
  void Data() && = delete;

  bool operator==(const trecord&) const = default;

 protected:
  trecord() { bytes_.fill(0); }
  explicit trecord(const std::array<std::uint8_t, N>& image) : bytes_(image) {}

  template <std::size_t Off>
  bool Bool() const {
    static_assert(Off < N);
    return bytes_[Off] != 0;
  }
  template <std::size_t Off>
  void SetBool(bool value) {
    static_assert(Off < N);
    bytes_[Off] = value ? 1 : 0;
  }

  template <std::size_t Off>
  std::uint8_t U8() const {
    static_assert(Off < N);
    return bytes_[Off];
  }
  template <std::size_t Off>
  void SetU8(std::uint8_t value) {
    static_assert(Off < N);
    bytes_[Off] = value;
  }

  template <std::size_t Off>
  std::int16_t I16() const {
    return static_cast<std::int16_t>(Unsigned<Off, 2>());
  }
  template <std::size_t Off>
  void SetI16(std::int16_t value) {
    SetUnsigned<Off, 2>(static_cast<std::uint16_t>(value));
  }
  template <std::size_t Off>
  std::uint16_t U16() const {
    return static_cast<std::uint16_t>(Unsigned<Off, 2>());
  }
  template <std::size_t Off>
  void SetU16(std::uint16_t value) {
    SetUnsigned<Off, 2>(value);
  }
  template <std::size_t Off>
  std::int32_t I32() const {
    return static_cast<std::int32_t>(Unsigned<Off, 4>());
  }
  template <std::size_t Off>
  void SetI32(std::int32_t value) {
    SetUnsigned<Off, 4>(static_cast<std::uint32_t>(value));
  }
  template <std::size_t Off>
  std::uint32_t U32() const {
    return static_cast<std::uint32_t>(Unsigned<Off, 4>());
  }
  template <std::size_t Off>
  void SetU32(std::uint32_t value) {
    SetUnsigned<Off, 4>(value);
  }
  template <std::size_t Off>
  double F64() const {
    return std::bit_cast<double>(Unsigned<Off, 8>());
  }
  template <std::size_t Off>
  void SetF64(double value) {
    SetUnsigned<Off, 8>(std::bit_cast<std::uint64_t>(value));
  }
  template <std::size_t Off>
  tdatetime DateTime() const {
    return tdatetime(F64<Off>());  // the constructor makes a damaged value 0
  }
  template <std::size_t Off>
  void SetDateTime(tdatetime value) {
    SetF64<Off>(value.Days());
  }

  // string[Cap]: a length byte and Cap bytes of characters. A length byte
  // beyond the field (a damaged file) is cut to the field.
  template <std::size_t Off, std::size_t Cap>
  std::string Str() const {
    static_assert(Cap <= 255 && Off + 1 + Cap <= N);
    const std::size_t length = std::min<std::size_t>(bytes_[Off], Cap);
    return std::string(reinterpret_cast<const char*>(bytes_.data() + Off + 1), length);
  }
  // Stores at most Cap bytes (or `limit`, when smaller); the characters after
  // the new length keep their old bytes, as the program always did.
  template <std::size_t Off, std::size_t Cap>
  void SetStr(std::string_view text, std::size_t limit = Cap) {
    static_assert(Cap <= 255 && Off + 1 + Cap <= N);
    const std::string_view fitted = recordbytes::FitString(text, std::min(limit, Cap));
    bytes_[Off] = static_cast<std::uint8_t>(fitted.size());
    std::memcpy(bytes_.data() + Off + 1, fitted.data(), fitted.size());
  }

  // A raw copy of a nested block, for the parts that are handed around whole.
  template <std::size_t Off, std::size_t Len>
  std::array<std::uint8_t, Len> Block() const {
    static_assert(Off + Len <= N);
    std::array<std::uint8_t, Len> out{};
    std::copy_n(bytes_.begin() + Off, Len, out.begin());
    return out;
  }
  template <std::size_t Off, std::size_t Len>
  void SetBlock(const std::array<std::uint8_t, Len>& block) {
    static_assert(Off + Len <= N);
    std::copy_n(block.begin(), Len, bytes_.begin() + Off);
  }

 private:
  template <std::size_t Off, std::size_t Width>
  std::uint64_t Unsigned() const {
    static_assert(Off + Width <= N);
    std::uint64_t value = 0;
    for (std::size_t i = 0; i < Width; ++i) {
      value |= static_cast<std::uint64_t>(bytes_[Off + i]) << (8 * i);
    }
    return value;
  }
  template <std::size_t Off, std::size_t Width>
  void SetUnsigned(std::uint64_t value) {
    static_assert(Off + Width <= N);
    for (std::size_t i = 0; i < Width; ++i) {
      bytes_[Off + i] = static_cast<std::uint8_t>(value >> (8 * i));
    }
  }

  std::array<std::uint8_t, N> bytes_;
};

// Helpers shared by the accessors that keep a stored value in its range.
namespace recordbytes {

template <typename T>
T ClampTo(T value, T low, T high) {
  return std::clamp(value, low, high);
}
// A list index outside [0, count) gives the fallback entry: a damaged value
// selects the default rather than the end of the list.
inline int IndexOr(std::int64_t value, int count, int fallback) {
  return value >= 0 && value < count ? static_cast<int>(value) : fallback;
}
// A stored double outside [low, high] is clamped; not a number gives the
// fallback.
double ClampReal(double value, double low, double high, double fallback);

}  // namespace recordbytes

}  // namespace vantlo
