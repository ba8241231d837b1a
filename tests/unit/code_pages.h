// Lead bytes of the ANSI code pages the tests read texts in.
#pragma once

namespace kb::test {

// Code page 932 (Shift-JIS): 81-9F and E0-FC start a double-byte character.
inline bool cp932LeadByte(unsigned char byte) {
  return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

// A single-byte code page such as 1252.
inline bool singleByte(unsigned char) {
  return false;
}

}  // namespace kb::test
