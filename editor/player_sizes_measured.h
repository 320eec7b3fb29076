// Measured by scripts/size.sh --table on the project's machine, for builds
// without xz: xz-compressed -Os code bytes of a player,
// i686 MinGW: the fixed part and each operation over it.
static const int PlayerFixedBytes = 396;
static const int PlayerOperationBytes[51] = {
    41, // 0 scale1
    36, // 1 scale2
    34, // 2 scale3
    30, // 3 scale4
    107, // 4 scale5
    102, // 5 scale6
    101, // 6 scale7
    90, // 7 scale8
    123, // 8 scalece
    37, // 9 trans1
    44, // 10 trans2b
    41, // 11 trans3
    100, // 12 trans4
    97, // 13 trans5
    96, // 14 trans6
    70, // 15 trans2
    326, // 16 rotate1
    324, // 17 rotate2
    323, // 18 rotate3
    23, // 19 select1
    21, // 20 select2
    36, // 21 select3
    116, // 22 select4
    114, // 23 select5
    175, // 24 select6
    176, // 25 select7
    176, // 26 select8
    581, // 27 subd
    666, // 28 smoooth
    306, // 29 addquad
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
    35, // 50 select9
};
