// Measured by scripts/size.sh --table on the project's machine, for builds
// without xz: xz-compressed -Os code bytes of a player,
// i686 MinGW: the fixed part and each operation over it.
static const int PlayerFixedBytes = 360;
static const int PlayerOperationBytes[51] = {
    44, // 0 scale1
    42, // 1 scale2
    41, // 2 scale3
    20, // 3 scale4
    107, // 4 scale5
    97, // 5 scale6
    95, // 6 scale7
    82, // 7 scale8
    119, // 8 scalece
    36, // 9 trans1
    37, // 10 trans2b
    37, // 11 trans3
    97, // 12 trans4
    91, // 13 trans5
    89, // 14 trans6
    80, // 15 trans2
    326, // 16 rotate1
    326, // 17 rotate2
    324, // 18 rotate3
    23, // 19 select1
    21, // 20 select2
    29, // 21 select3
    121, // 22 select4
    119, // 23 select5
    182, // 24 select6
    182, // 25 select7
    182, // 26 select8
    554, // 27 subd
    631, // 28 smoooth
    271, // 29 addquad
    74, // 30 delQuad
    103, // 31 addcube
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
    30, // 50 select9
};
