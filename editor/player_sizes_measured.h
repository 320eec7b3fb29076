// Measured by scripts/size.sh --table on the project's machine, for builds
// without xz: xz-compressed -Os code bytes of a player,
static const int PlayerFixedBytes = 356;
static const int PlayerOperationBytes[51] = {
    45, // 0 scale1
    43, // 1 scale2
    42, // 2 scale3
    21, // 3 scale4
    108, // 4 scale5
    99, // 5 scale6
    96, // 6 scale7
    85, // 7 scale8
    119, // 8 scalece
    36, // 9 trans1
    38, // 10 trans2b
    38, // 11 trans3
    99, // 12 trans4
    92, // 13 trans5
    90, // 14 trans6
    80, // 15 trans2
    328, // 16 rotate1
    327, // 17 rotate2
    326, // 18 rotate3
    24, // 19 select1
    22, // 20 select2
    30, // 21 select3
    121, // 22 select4
    119, // 23 select5
    181, // 24 select6
    181, // 25 select7
    181, // 26 select8
    465, // 27 subd
    543, // 28 smoooth
    250, // 29 addquad
    74, // 30 delQuad
    86, // 31 addcube
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
    27, // 50 select9
};
