// Numbers shown through xBase pictures ("9999.99", "999,999.99", "@K 99.9", "@Z 999"):
// '9' and '#' are digit places, ',' a thousands separator shown only between digits, '.'
// the decimal point; a leading "@..." function part (K, Z, B, ! ...) is read and dropped.
// The text is as long as the template, right-aligned; a number that does not fit shows as
// asterisks. "@L" fills the unused digit places of a positive number with zeros.
#pragma once

#include <string>

namespace lib {

std::string TRANSFORM_NUMBER(double value, const std::string& picture);
// The template part of a picture, without its function part.
std::string pictureTemplate(const std::string& picture);
int pictureDecimals(const std::string& picture);
int pictureIntegerDigits(const std::string& picture);
// A number typed by a user: "," thousands separators and blanks removed.
double readNumber(const std::string& text);

}  // namespace lib
