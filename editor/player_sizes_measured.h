// Measured by scripts/size.sh --table on the project's machine, for builds
// without xz: xz-compressed -Os code bytes of a player,
// i686 MinGW: the fixed part and each operation over it.
static const int PlayerFixedBytes = 399;
static const int PlayerOperationBytes[51] = {
    39, // 0 scale1
    34, // 1 scale2
    32, // 2 scale3
    28, // 3 scale4
    106, // 4 scale5
    100, // 5 scale6
    99, // 6 scale7
    88, // 7 scale8
    122, // 8 scalece
    35, // 9 trans1
    42, // 10 trans2b
    40, // 11 trans3
    98, // 12 trans4
    96, // 13 trans5
    95, // 14 trans6
    67, // 15 trans2
    324, // 16 rotate1
    323, // 17 rotate2
    322, // 18 rotate3
    22, // 19 select1
    21, // 20 select2
    35, // 21 select3
    114, // 22 select4
    112, // 23 select5
    171, // 24 select6
    173, // 25 select7
    173, // 26 select8
    585, // 27 subd
    670, // 28 smoooth
    304, // 29 addquad
    69, // 30 delQuad
    116, // 31 addcube
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
    33, // 50 select9
};
