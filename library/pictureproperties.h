// Picture properties: title, up to eight description lines, up to forty
// keywords and (for CAM pictures) an orientation, kept in a hidden companion
// file next to each picture (".QVJ", ".QVC", ".QVV" for ".JPG", ".CAM",
// ".AVI"). The companion file is a fixed 3952-byte image:
//
//   offset 0     256       title (length byte + up to 255 characters)
//   offset 256   8 x 256   description line n at 256 * n (n = 1..8)
//   offset 2304  40 x 41   keyword k at 2263 + 41 * k (k = 1..40), <= 40 chars
//   offset 3944  4         orientation, uint32 little-endian, 0..3
//   offset 3948  4         reserved, zero
//
// Bytes past a string's length are kept as read and written back unchanged.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace vantlo {

inline constexpr std::size_t kPropertiesSize = 3952;
inline constexpr int kMaxDescriptionLines = 8;
inline constexpr int kMaxKeywords = 40;
inline constexpr std::size_t kMaxKeywordLength = 40;

// Orientation of a CAM picture as stored in its companion file.
enum tpictureorientation : std::uint32_t {
  poNormal = 0,
  poRotateClockwise = 1,
  poUpsideDown = 2,
  poRotateCounterClockwise = 3,
};

// Errors of the properties unit carry the user's text.
class tpropertieserror : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The companion file of a picture: its last four characters replaced by
// ".QVJ", ".QVC" or ".QVV". Raises "File is not a JPG, CAM or AVI" for any
// other extension.
std::string CompanionPath(const std::string& picture);
// True for ".JPG", ".CAM" and ".AVI" names (any letter case).
bool HasCompanionKind(const std::string& picture);
// True for names ending in ".QV" plus one character, any case ("*.QV?").
bool LooksLikeCompanion(const std::string& name);
// The picture name a companion file belongs to: the last three characters
// replaced by "jpg", "CAM" or "AVI" for ".QVJ", ".QVC", ".QVV"; nothing for
// any other last letter.
std::optional<std::string> PictureNameForCompanion(const std::string& companion);

// A list of keywords: sorted without regard to case, duplicates (in any
// case) ignored.
class tkeywordlist {
 public:
  void Add(const std::string& keyword);  // empty text is ignored
  void Clear() { items_.clear(); }
  bool Empty() const { return items_.empty(); }
  std::size_t Size() const { return items_.size(); }
  const std::vector<std::string>& Items() const { return items_; }

 private:
  std::vector<std::string> items_;
};

class tpictureproperties {
 public:
  using trecord = std::array<std::uint8_t, kPropertiesSize>;

  tpictureproperties();

  // Stores the picture path and derives the companion path.
  void SetFile(const std::string& picture);
  // Reads the companion file when there is one (a short file is read as far
  // as it goes). Every length byte is checked against the bytes actually
  // read, and a keyword length is never taken above 40.
  void Load();
  // Writes the companion file atomically (temp file, fsync, rename) and
  // marks it hidden where the file system knows the attribute. With nothing
  // to keep (no title, description or keywords, orientation normal) the
  // companion file is deleted instead and the object cleared.
  void Save();
  // Forgets everything, both paths included.
  void Clear();
  // Deletes the companion file, then clears.
  void Delete();

  std::string Title() const;
  void SetTitle(const std::string& title);  // cut to 255 characters
  std::vector<std::string>& Description() { return description_; }
  const std::vector<std::string>& Description() const { return description_; }
  tkeywordlist& Keywords() { return keywords_; }
  const tkeywordlist& Keywords() const { return keywords_; }
  std::uint32_t Orientation() const;
  void SetOrientation(std::uint32_t orientation);

  const trecord& Record() const { return record_; }
  const std::string& PicturePath() const { return picture_; }
  const std::string& CompanionFile() const { return companion_; }

  // Fills title, description, keywords and orientation from `size` bytes
  // of a companion file image (at most 3952 are used).
  void ParseRecord(const std::uint8_t* data, std::size_t size);
  // Puts the lists into the record image as Save writes it.
  void BuildRecord();

 private:
  void RequireFile() const;
  void PutString(std::size_t offset, std::size_t max, const std::string& text);
  std::string GetString(std::size_t offset, std::size_t max, std::size_t available) const;

  std::vector<std::string> description_;
  tkeywordlist keywords_;
  trecord record_{};
  std::string companion_;
  std::string picture_;
};

// Sets or clears the FAT hidden attribute of an open file; false where the
// file system has no such attribute (failure is harmless).
bool SetHiddenAttribute(int fd);

}  // namespace vantlo
