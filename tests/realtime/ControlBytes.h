#pragma once
// The instrument's control bytes as the real-time tests feed them: SUB ends a message, BS the stream.
inline constexpr char SUB = 26;
inline constexpr char BS = 8;
