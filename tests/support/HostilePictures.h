#pragma once

#include <cstdint>
#include <vector>

// Pictures that are valid but built to cost a decoder as much as possible, written with libpng and
// libjpeg directly.
namespace hostilepictures {

// An 8-bit grey PNG of one flat colour: a few bytes a row on the wire, four a pixel decoded.
std::vector<std::uint8_t> flatGreyPng(std::uint32_t width, std::uint32_t height);

// A progressive grey JPEG of noise that refines every coefficient bit by bit in its own scan: 704
// valid scans (each coefficient in 11 steps), where encoders write about ten.
std::vector<std::uint8_t> manyScanGreyJpeg(std::uint32_t width, std::uint32_t height);
// The number of scans (start-of-scan markers) in a JPEG file.
int scanCount(const std::vector<std::uint8_t>& jpeg);

} // namespace hostilepictures
