#pragma once
// zartool convert IN OUT: pictures between XYZ, PNG and Windows bitmap, the
// output format chosen by OUT's extension (.xyz, .png, .bmp). Only 8-bit
// paletted pictures, the kind the player can load, are converted.
//
// argv[0] is the command word "convert" (a leading program name before it is
// skipped too). Returns the exit status: 0 done, 1 failed, 2 wrong usage.
int RunConvert(int argc, char** argv);
