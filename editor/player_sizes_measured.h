// Measured by scripts/size.sh --table on the project's machine, for builds
// without xz: xz-compressed -Os code bytes of a player,
// i686 MinGW: the fixed part and each operation over it.
static const int PlayerFixedBytes = 490;
static const int PlayerOperationBytes[51] = {
    70, // 0 scale1
    75, // 1 scale2
    75, // 2 scale3
    72, // 3 scale4
    154, // 4 scale5
    155, // 5 scale6
    156, // 6 scale7
    155, // 7 scale8
    186, // 8 scalece
    79, // 9 trans1
    81, // 10 trans2b
    80, // 11 trans3
    159, // 12 trans4
    161, // 13 trans5
    159, // 14 trans6
    125, // 15 trans2
    368, // 16 rotate1
    371, // 17 rotate2
    368, // 18 rotate3
    28, // 19 select1
    29, // 20 select2
    38, // 21 select3
    141, // 22 select4
    149, // 23 select5
    181, // 24 select6
    182, // 25 select7
    182, // 26 select8
    793, // 27 subd
    922, // 28 smoooth
    355, // 29 addquad
    66, // 30 delQuad
    137, // 31 addcube
    0,
    0,
    0,
    0,
    0,
    0,
    0,
    0,
    0,
    0,
    0,
    0,
    0,
    0,
    0,
    0,
    0,
    0,
    54, // 50 select9
};
