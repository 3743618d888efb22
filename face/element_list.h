// The face: every picture element of the main window, in drawing order (first
// drawn first). This list is the only place where an element's name, kind,
// place, size and picture are written down; everything else reads it.
//
// X(name, kind, left, top, width, height, picture)
//   picture: Own    - the element carries its own picture asset
//            Shared - it receives a copy of another element's picture at start-up
//            None   - no picture (button areas, digit positions, the overlay)
#pragma once

#define WUFFEL_ELEMENTS(X)                                   \
  X(Im_Base, FacePhoto, 0, 0, 654, 394, Own)                 \
  X(Puls_GameA, ButtonPicture, 553, 47, 32, 18, Own)         \
  X(Puls_GameB, ButtonPicture, 553, 92, 32, 17, Own)         \
  X(Puls_Time, ButtonPicture, 553, 137, 32, 18, Own)         \
  X(Puls_Hit, ButtonPicture, 49, 257, 49, 48, Own)           \
  X(Puls_Up, ButtonPicture, 558, 229, 38, 39, Own)           \
  X(Puls_Down, ButtonPicture, 558, 294, 38, 38, Own)         \
  X(Puls_Alarm, ButtonArea, 608, 72, 11, 11, None)           \
  X(Puls_ACL, ButtonArea, 608, 116, 11, 11, None)            \
  X(Im_TimeAM, Segment, 184, 104, 16, 8, Own)                \
  X(Im_TimePM, Segment, 184, 118, 16, 8, Own)                \
  X(Im_NumPos1, DigitPosition, 208, 104, 13, 23, None)       \
  X(Im_NumPos2, DigitPosition, 227, 104, 13, 23, None)       \
  X(Im_TimePP, Segment, 246, 109, 4, 12, Own)                \
  X(Im_NumPos3, DigitPosition, 255, 104, 13, 23, None)       \
  X(Im_NumPos4, DigitPosition, 273, 104, 13, 23, None)       \
  X(Im_Miss0, Segment, 319, 103, 27, 9, Own)                 \
  X(Im_Miss3, Segment, 301, 116, 20, 18, Own)                \
  X(Im_Miss2, Segment, 324, 116, 20, 18, Shared)             \
  X(Im_Miss1, Segment, 348, 116, 20, 18, Shared)             \
  X(Im_Pippet1, Segment, 417, 106, 18, 25, Own)              \
  X(Im_Pippet2, Segment, 444, 107, 19, 20, Own)              \
  X(Im_Brunna, Segment, 182, 135, 30, 65, Own)               \
  X(Im_BrunnaBr1, Segment, 205, 137, 22, 34, Own)            \
  X(Im_BrunnaBr2, Segment, 208, 153, 25, 27, Own)            \
  X(Im_BrunnaBr3, Segment, 208, 172, 19, 29, Own)            \
  X(Im_Wuffel1, Segment, 379, 131, 32, 42, Own)              \
  X(Im_Wuffel1A, Segment, 372, 136, 17, 26, Own)             \
  X(Im_Wuffel1B, Segment, 357, 160, 26, 13, Own)             \
  X(Im_Wuffel1C, Segment, 401, 156, 30, 19, Own)             \
  X(Im_Crash, Segment, 417, 138, 62, 66, Own)                \
  X(Im_Wuffel2, Segment, 376, 181, 34, 44, Own)              \
  X(Im_Wuffel2A, Segment, 370, 181, 18, 26, Own)             \
  X(Im_Wuffel2B, Segment, 355, 206, 28, 13, Own)             \
  X(Im_Wuffel2C, Segment, 399, 206, 30, 15, Own)             \
  X(Im_CrashSleep, Segment, 433, 207, 42, 72, Own)           \
  X(Im_CrashZ1, Segment, 451, 208, 10, 11, Own)              \
  X(Im_CrashZ2, Segment, 460, 201, 9, 9, Own)                \
  X(Im_CrashZ3, Segment, 469, 194, 9, 9, Own)                \
  X(Im_Wuffel3, Segment, 376, 232, 34, 43, Own)              \
  X(Im_Wuffel3A, Segment, 369, 228, 18, 28, Own)             \
  X(Im_Wuffel3B, Segment, 354, 258, 31, 16, Own)             \
  X(Im_Wuffel3C, Segment, 401, 243, 28, 22, Own)             \
  X(Im_Tobbel1, Segment, 203, 218, 43, 62, Own)              \
  X(Im_Tobbel2, Segment, 184, 251, 33, 23, Own)              \
  X(Im_Tobbel5, Segment, 230, 203, 26, 26, Own)              \
  X(Im_Tobbel3, Segment, 240, 230, 9, 9, Own)                \
  X(Im_Tobbel4, Segment, 180, 207, 29, 41, Own)              \
  X(Im_Tobbel6, Segment, 238, 240, 24, 39, Own)              \
  X(Im_Tobbel2A, Segment, 283, 221, 57, 59, Own)             \
  X(Im_Tobbel2B, Segment, 280, 221, 72, 59, Own)             \
  X(Im_GameA, Segment, 185, 282, 40, 9, Own)                 \
  X(Im_GameB, Segment, 433, 282, 40, 9, Own)                 \
  X(Im_Num0, DigitGlyph, 0, 350, 13, 23, Own)                \
  X(Im_Num1, DigitGlyph, 20, 350, 13, 23, Own)               \
  X(Im_Num2, DigitGlyph, 40, 350, 13, 23, Own)               \
  X(Im_Num3, DigitGlyph, 60, 350, 13, 23, Own)               \
  X(Im_Num4, DigitGlyph, 80, 350, 13, 23, Own)               \
  X(Im_Num5, DigitGlyph, 100, 350, 13, 23, Own)              \
  X(Im_Num6, DigitGlyph, 120, 350, 13, 23, Own)              \
  X(Im_Num7, DigitGlyph, 140, 350, 13, 23, Own)              \
  X(Im_Num8, DigitGlyph, 160, 350, 13, 23, Own)              \
  X(Im_Num9, DigitGlyph, 180, 350, 13, 23, Own)              \
  X(Im_Ball18, Segment, 239, 214, 9, 9, Shared)              \
  X(Im_Ball27, Segment, 239, 214, 9, 9, Shared)              \
  X(Im_Ball36, Segment, 239, 214, 9, 9, Shared)              \
  X(Im_Ball65, Segment, 359, 142, 11, 7, Shared)             \
  X(Im_Ball55, Segment, 357, 181, 12, 8, Shared)             \
  X(Im_Ball45, Segment, 358, 228, 11, 8, Shared)             \
  X(Im_Ball61, Segment, 231, 138, 12, 7, Own)                \
  X(Im_Ball62, Segment, 264, 136, 12, 7, Own)                \
  X(Im_Ball63, Segment, 294, 136, 12, 7, Own)                \
  X(Im_Ball64, Segment, 325, 138, 12, 7, Own)                \
  X(Im_Ball11, Segment, 359, 142, 11, 7, Own)                \
  X(Im_Ball10, Segment, 413, 147, 23, 12, Own)               \
  X(Im_Ball12, Segment, 338, 141, 12, 8, Own)                \
  X(Im_Ball13, Segment, 315, 146, 11, 8, Own)                \
  X(Im_Ball14, Segment, 296, 153, 11, 9, Own)                \
  X(Im_Ball15, Segment, 279, 164, 11, 8, Own)                \
  X(Im_Ball16, Segment, 262, 177, 11, 8, Own)                \
  X(Im_Ball17, Segment, 248, 193, 8, 11, Own)                \
  X(Im_Ball51, Segment, 234, 160, 12, 7, Own)                \
  X(Im_Ball52, Segment, 262, 162, 12, 7, Own)                \
  X(Im_Ball53, Segment, 295, 168, 12, 7, Own)                \
  X(Im_Ball54, Segment, 325, 174, 12, 8, Own)                \
  X(Im_Ball21, Segment, 357, 181, 12, 8, Own)                \
  X(Im_Ball20, Segment, 412, 193, 26, 13, Own)               \
  X(Im_Ball22, Segment, 336, 181, 13, 7, Own)                \
  X(Im_Ball23, Segment, 315, 182, 12, 7, Own)                \
  X(Im_Ball24, Segment, 294, 185, 12, 8, Own)                \
  X(Im_Ball25, Segment, 276, 192, 11, 8, Own)                \
  X(Im_Ball26, Segment, 254, 202, 12, 8, Own)                \
  X(Im_Ball41, Segment, 231, 187, 12, 7, Own)                \
  X(Im_Ball42, Segment, 261, 193, 12, 7, Own)                \
  X(Im_Ball43, Segment, 294, 202, 11, 7, Own)                \
  X(Im_Ball44, Segment, 325, 212, 12, 8, Own)                \
  X(Im_Ball31, Segment, 358, 228, 11, 8, Own)                \
  X(Im_Ball30, Segment, 418, 262, 18, 16, Own)               \
  X(Im_Ball32, Segment, 337, 220, 11, 8, Own)                \
  X(Im_Ball33, Segment, 311, 214, 11, 7, Own)                \
  X(Im_Ball34, Segment, 285, 212, 12, 7, Own)                \
  X(Im_Ball35, Segment, 261, 212, 12, 7, Own)                \
  X(Im_Ball66, Segment, 413, 147, 23, 12, Shared)            \
  X(Im_Ball56, Segment, 412, 193, 26, 13, Shared)            \
  X(Im_Ball46, Segment, 418, 262, 18, 16, Shared)            \
  X(Im_BaseTop, MouseOverlay, 176, 100, 305, 195, None)
