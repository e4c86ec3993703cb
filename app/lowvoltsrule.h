#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace vantlo {

// Rules of the "Set Low Voltage Threshold" dialog. The setting is kept in
// tenths of a volt; 0 stands for the default 4.0 V.
inline constexpr const char* kThresholdRangeText = "Please enter a number in the range 3.5 to 6.0";

// Edit box text for a stored threshold: volts with one decimal ("4.0").
std::string ThresholdEditText(std::int32_t stored);

// Number in the edit box; nullopt when the text is not a number.
std::optional<double> ParseThresholdText(const std::string& text);

bool ThresholdInRange(double volts);  // 3.5..6.0 inclusive

// Stored value for an accepted entry: 0 for exactly 4.0, else the nearest
// integer of volts x 10.
std::int32_t StoredThresholdFor(double volts);

// Volts handed to the engine for a stored value (0 lets the engine keep 4.0).
double EngineThresholdFor(std::int32_t stored);

}  // namespace vantlo
