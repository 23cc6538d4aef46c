#include "mp3/decoder/Layer3Huffman.h"

#include <math.h>
#include <string.h>

namespace {

// The code words of each table: code value and length in bits, in x-major order
// (x * size + y).
const unsigned short kCodes1[] = {1, 1, 1, 0};
const unsigned char kLens1[] = {1, 3, 2, 3};

const unsigned short kCodes2[] = {1, 2, 1, 3, 1, 1, 3, 2, 0};
const unsigned char kLens2[] = {1, 3, 6, 3, 3, 5, 5, 5, 6};

const unsigned short kCodes3[] = {3, 2, 1, 1, 1, 1, 3, 2, 0};
const unsigned char kLens3[] = {2, 2, 6, 3, 2, 5, 5, 5, 6};

const unsigned short kCodes5[] = {1, 2, 6, 5, 3, 1, 4, 4, 7, 5, 7, 1, 6, 1, 1, 0};
const unsigned char kLens5[] = {1, 3, 6, 7, 3, 3, 6, 7, 6, 6, 7, 8, 7, 6, 7, 8};

const unsigned short kCodes6[] = {7, 3, 5, 1, 6, 2, 3, 2, 5, 4, 4, 1, 3, 3, 2, 0};
const unsigned char kLens6[] = {3, 3, 5, 7, 3, 2, 4, 5, 4, 4, 5, 6, 6, 5, 6, 7};

const unsigned short kCodes7[] = {
    1, 2, 10, 19, 16, 10, 3, 3, 7, 10, 5, 3, 11, 4, 13, 17, 8, 4,
    12, 11, 18, 15, 11, 2, 7, 6, 9, 14, 3, 1, 6, 4, 5, 3, 2, 0};
const unsigned char kLens7[] = {
    1, 3, 6, 8, 8, 9, 3, 4, 6, 7, 7, 8, 6, 5, 7, 8, 8, 9,
    7, 7, 8, 9, 9, 9, 7, 7, 8, 9, 9, 10, 8, 8, 9, 10, 10, 10};

const unsigned short kCodes8[] = {
    3, 4, 6, 18, 12, 5, 5, 1, 2, 16, 9, 3, 7, 3, 5, 14, 7, 3,
    19, 17, 15, 13, 10, 4, 13, 5, 8, 11, 5, 1, 12, 4, 4, 1, 1, 0};
const unsigned char kLens8[] = {
    2, 3, 6, 8, 8, 9, 3, 2, 4, 8, 8, 8, 6, 4, 6, 8, 8, 9,
    8, 8, 8, 9, 9, 10, 8, 7, 8, 9, 10, 10, 9, 8, 9, 9, 11, 11};

const unsigned short kCodes9[] = {
    7, 5, 9, 14, 15, 7, 6, 4, 5, 5, 6, 7, 7, 6, 8, 8, 8, 5,
    15, 6, 9, 10, 5, 1, 11, 7, 9, 6, 4, 1, 14, 4, 6, 2, 6, 0};
const unsigned char kLens9[] = {
    3, 3, 5, 6, 8, 9, 3, 3, 4, 5, 6, 8, 4, 4, 5, 6, 7, 8,
    6, 5, 6, 7, 7, 8, 7, 6, 7, 7, 8, 9, 8, 7, 8, 8, 9, 9};

const unsigned short kCodes10[] = {
    1, 2, 10, 23, 35, 30, 12, 17, 3, 3, 8, 12, 18, 21, 12, 7,
    11, 9, 15, 21, 32, 40, 19, 6, 14, 13, 22, 34, 46, 23, 18, 7,
    20, 19, 33, 47, 27, 22, 9, 3, 31, 22, 41, 26, 21, 20, 5, 3,
    14, 13, 10, 11, 16, 6, 5, 1, 9, 8, 7, 8, 4, 4, 2, 0};
const unsigned char kLens10[] = {
    1, 3, 6, 8, 9, 9, 9, 10, 3, 4, 6, 7, 8, 9, 8, 8,
    6, 6, 7, 8, 9, 10, 9, 9, 7, 7, 8, 9, 10, 10, 9, 10,
    8, 8, 9, 10, 10, 10, 10, 10, 9, 9, 10, 10, 11, 11, 10, 11,
    8, 8, 9, 10, 10, 10, 11, 11, 9, 8, 9, 10, 10, 11, 11, 11};

const unsigned short kCodes11[] = {
    3, 4, 10, 24, 34, 33, 21, 15, 5, 3, 4, 10, 32, 17, 11, 10,
    11, 7, 13, 18, 30, 31, 20, 5, 25, 11, 19, 59, 27, 18, 12, 5,
    35, 33, 31, 58, 30, 16, 7, 5, 28, 26, 32, 19, 17, 15, 8, 14,
    14, 12, 9, 13, 14, 9, 4, 1, 11, 4, 6, 6, 6, 3, 2, 0};
const unsigned char kLens11[] = {
    2, 3, 5, 7, 8, 9, 8, 9, 3, 3, 4, 6, 8, 8, 7, 8,
    5, 5, 6, 7, 8, 9, 8, 8, 7, 6, 7, 9, 8, 10, 8, 9,
    8, 8, 8, 9, 9, 10, 9, 10, 8, 8, 9, 10, 10, 11, 10, 11,
    8, 7, 7, 8, 9, 10, 10, 10, 8, 7, 8, 9, 10, 10, 10, 10};

const unsigned short kCodes12[] = {
    9, 6, 16, 33, 41, 39, 38, 26, 7, 5, 6, 9, 23, 16, 26, 11,
    17, 7, 11, 14, 21, 30, 10, 7, 17, 10, 15, 12, 18, 28, 14, 5,
    32, 13, 22, 19, 18, 16, 9, 5, 40, 17, 31, 29, 17, 13, 4, 2,
    27, 12, 11, 15, 10, 7, 4, 1, 27, 12, 8, 12, 6, 3, 1, 0};
const unsigned char kLens12[] = {
    4, 3, 5, 7, 8, 9, 9, 9, 3, 3, 4, 5, 7, 7, 8, 8,
    5, 4, 5, 6, 7, 8, 7, 8, 6, 5, 6, 6, 7, 8, 8, 8,
    7, 6, 7, 7, 8, 8, 8, 9, 8, 7, 8, 8, 8, 9, 8, 9,
    8, 7, 7, 8, 8, 9, 9, 10, 9, 8, 8, 9, 9, 9, 9, 10};

const unsigned short kCodes13[] = {
    1, 5, 14, 21, 34, 51, 46, 71, 42, 52, 68, 52, 67, 44, 43, 19,
    3, 4, 12, 19, 31, 26, 44, 33, 31, 24, 32, 24, 31, 35, 22, 14,
    15, 13, 23, 36, 59, 49, 77, 65, 29, 40, 30, 40, 27, 33, 42, 16,
    22, 20, 37, 61, 56, 79, 73, 64, 43, 76, 56, 37, 26, 31, 25, 14,
    35, 16, 60, 57, 97, 75, 114, 91, 54, 73, 55, 41, 48, 53, 23, 24,
    58, 27, 50, 96, 76, 70, 93, 84, 77, 58, 79, 29, 74, 49, 41, 17,
    47, 45, 78, 74, 115, 94, 90, 79, 69, 83, 71, 50, 59, 38, 36, 15,
    72, 34, 56, 95, 92, 85, 91, 90, 86, 73, 77, 65, 51, 44, 43, 42,
    43, 20, 30, 44, 55, 78, 72, 87, 78, 61, 46, 54, 37, 30, 20, 16,
    53, 25, 41, 37, 44, 59, 54, 81, 66, 76, 57, 54, 37, 18, 39, 11,
    35, 33, 31, 57, 42, 82, 72, 80, 47, 58, 55, 21, 22, 26, 38, 22,
    53, 25, 23, 38, 70, 60, 51, 36, 55, 26, 34, 23, 27, 14, 9, 7,
    34, 32, 28, 39, 49, 75, 30, 52, 48, 40, 52, 28, 18, 17, 9, 5,
    45, 21, 34, 64, 56, 50, 49, 45, 31, 19, 12, 15, 10, 7, 6, 3,
    48, 23, 20, 39, 36, 35, 53, 21, 16, 23, 13, 10, 6, 1, 4, 2,
    16, 15, 17, 27, 25, 20, 29, 11, 17, 12, 16, 8, 1, 1, 0, 1};
const unsigned char kLens13[] = {
    1, 4, 6, 7, 8, 9, 9, 10, 9, 10, 11, 11, 12, 12, 13, 13,
    3, 4, 6, 7, 8, 8, 9, 9, 9, 9, 10, 10, 11, 12, 12, 12,
    6, 6, 7, 8, 9, 9, 10, 10, 9, 10, 10, 11, 11, 12, 13, 13,
    7, 7, 8, 9, 9, 10, 10, 10, 10, 11, 11, 11, 11, 12, 13, 13,
    8, 7, 9, 9, 10, 10, 11, 11, 10, 11, 11, 12, 12, 13, 13, 14,
    9, 8, 9, 10, 10, 10, 11, 11, 11, 11, 12, 11, 13, 13, 14, 14,
    9, 9, 10, 10, 11, 11, 11, 11, 11, 12, 12, 12, 13, 13, 14, 14,
    10, 9, 10, 11, 11, 11, 12, 12, 12, 12, 13, 13, 13, 14, 16, 16,
    9, 8, 9, 10, 10, 11, 11, 12, 12, 12, 12, 13, 13, 14, 15, 15,
    10, 9, 10, 10, 11, 11, 11, 13, 12, 13, 13, 14, 14, 14, 16, 15,
    10, 10, 10, 11, 11, 12, 12, 13, 12, 13, 14, 13, 14, 15, 16, 17,
    11, 10, 10, 11, 12, 12, 12, 12, 13, 13, 13, 14, 15, 15, 15, 16,
    11, 11, 11, 12, 12, 13, 12, 13, 14, 14, 15, 15, 15, 16, 16, 16,
    12, 11, 12, 13, 13, 13, 14, 14, 14, 14, 14, 15, 16, 15, 16, 16,
    13, 12, 12, 13, 13, 13, 15, 14, 14, 17, 15, 15, 15, 17, 16, 16,
    12, 12, 13, 14, 14, 14, 15, 14, 15, 15, 16, 16, 19, 18, 19, 16};

const unsigned short kCodes15[] = {
    7, 12, 18, 53, 47, 76, 124, 108, 89, 123, 108, 119, 107, 81, 122, 63,
    13, 5, 16, 27, 46, 36, 61, 51, 42, 70, 52, 83, 65, 41, 59, 36,
    19, 17, 15, 24, 41, 34, 59, 48, 40, 64, 50, 78, 62, 80, 56, 33,
    29, 28, 25, 43, 39, 63, 55, 93, 76, 59, 93, 72, 54, 75, 50, 29,
    52, 22, 42, 40, 67, 57, 95, 79, 72, 57, 89, 69, 49, 66, 46, 27,
    77, 37, 35, 66, 58, 52, 91, 74, 62, 48, 79, 63, 90, 62, 40, 38,
    125, 32, 60, 56, 50, 92, 78, 65, 55, 87, 71, 51, 73, 51, 70, 30,
    109, 53, 49, 94, 88, 75, 66, 122, 91, 73, 56, 42, 64, 44, 21, 25,
    90, 43, 41, 77, 73, 63, 56, 92, 77, 66, 47, 67, 48, 53, 36, 20,
    71, 34, 67, 60, 58, 49, 88, 76, 67, 106, 71, 54, 38, 39, 23, 15,
    109, 53, 51, 47, 90, 82, 58, 57, 48, 72, 57, 41, 23, 27, 62, 9,
    86, 42, 40, 37, 70, 64, 52, 43, 70, 55, 42, 25, 29, 18, 11, 11,
    118, 68, 30, 55, 50, 46, 74, 65, 49, 39, 24, 16, 22, 13, 14, 7,
    91, 44, 39, 38, 34, 63, 52, 45, 31, 52, 28, 19, 14, 8, 9, 3,
    123, 60, 58, 53, 47, 43, 32, 22, 37, 24, 17, 12, 15, 10, 2, 1,
    71, 37, 34, 30, 28, 20, 17, 26, 21, 16, 10, 6, 8, 6, 2, 0};
const unsigned char kLens15[] = {
    3, 4, 5, 7, 7, 8, 9, 9, 9, 10, 10, 11, 11, 11, 12, 13,
    4, 3, 5, 6, 7, 7, 8, 8, 8, 9, 9, 10, 10, 10, 11, 11,
    5, 5, 5, 6, 7, 7, 8, 8, 8, 9, 9, 10, 10, 11, 11, 11,
    6, 6, 6, 7, 7, 8, 8, 9, 9, 9, 10, 10, 10, 11, 11, 11,
    7, 6, 7, 7, 8, 8, 9, 9, 9, 9, 10, 10, 10, 11, 11, 11,
    8, 7, 7, 8, 8, 8, 9, 9, 9, 9, 10, 10, 11, 11, 11, 12,
    9, 7, 8, 8, 8, 9, 9, 9, 9, 10, 10, 10, 11, 11, 12, 12,
    9, 8, 8, 9, 9, 9, 9, 10, 10, 10, 10, 10, 11, 11, 11, 12,
    9, 8, 8, 9, 9, 9, 9, 10, 10, 10, 10, 11, 11, 12, 12, 12,
    9, 8, 9, 9, 9, 9, 10, 10, 10, 11, 11, 11, 11, 12, 12, 12,
    10, 9, 9, 9, 10, 10, 10, 10, 10, 11, 11, 11, 11, 12, 13, 12,
    10, 9, 9, 9, 10, 10, 10, 10, 11, 11, 11, 11, 12, 12, 12, 13,
    11, 10, 9, 10, 10, 10, 11, 11, 11, 11, 11, 11, 12, 12, 13, 13,
    11, 10, 10, 10, 10, 11, 11, 11, 11, 12, 12, 12, 12, 12, 13, 13,
    12, 11, 11, 11, 11, 11, 11, 11, 12, 12, 12, 12, 13, 13, 12, 13,
    12, 11, 11, 11, 11, 11, 11, 12, 12, 12, 12, 12, 13, 13, 13, 13};

const unsigned short kCodes16[] = {
    1, 5, 14, 44, 74, 63, 110, 93, 172, 149, 138, 242, 225, 195, 376, 17,
    3, 4, 12, 20, 35, 62, 53, 47, 83, 75, 68, 119, 201, 107, 207, 9,
    15, 13, 23, 38, 67, 58, 103, 90, 161, 72, 127, 117, 110, 209, 206, 16,
    45, 21, 39, 69, 64, 114, 99, 87, 158, 140, 252, 212, 199, 387, 365, 26,
    75, 36, 68, 65, 115, 101, 179, 164, 155, 264, 246, 226, 395, 382, 362, 9,
    66, 30, 59, 56, 102, 185, 173, 265, 142, 253, 232, 400, 388, 378, 445, 16,
    111, 54, 52, 100, 184, 178, 160, 133, 257, 244, 228, 217, 385, 366, 715, 10,
    98, 48, 91, 88, 165, 157, 148, 261, 248, 407, 397, 372, 380, 889, 884, 8,
    85, 84, 81, 159, 156, 143, 260, 249, 427, 401, 392, 383, 727, 713, 708, 7,
    154, 76, 73, 141, 131, 256, 245, 426, 406, 394, 384, 735, 359, 710, 352, 11,
    139, 129, 67, 125, 247, 233, 229, 219, 393, 743, 737, 720, 885, 882, 439, 4,
    243, 120, 118, 115, 227, 223, 396, 746, 742, 736, 721, 712, 706, 223, 436, 6,
    202, 224, 222, 218, 216, 389, 386, 381, 364, 888, 443, 707, 440, 437, 1728, 4,
    747, 211, 210, 208, 370, 379, 734, 723, 714, 1735, 883, 877, 876, 3459, 865, 2,
    377, 369, 102, 187, 726, 722, 358, 711, 709, 866, 1734, 871, 3458, 870, 434, 0,
    12, 10, 7, 11, 10, 17, 11, 9, 13, 12, 10, 7, 5, 3, 1, 3};
const unsigned char kLens16[] = {
    1, 4, 6, 8, 9, 9, 10, 10, 11, 11, 11, 12, 12, 12, 13, 9,
    3, 4, 6, 7, 8, 9, 9, 9, 10, 10, 10, 11, 12, 11, 12, 8,
    6, 6, 7, 8, 9, 9, 10, 10, 11, 10, 11, 11, 11, 12, 12, 9,
    8, 7, 8, 9, 9, 10, 10, 10, 11, 11, 12, 12, 12, 13, 13, 10,
    9, 8, 9, 9, 10, 10, 11, 11, 11, 12, 12, 12, 13, 13, 13, 9,
    9, 8, 9, 9, 10, 11, 11, 12, 11, 12, 12, 13, 13, 13, 14, 10,
    10, 9, 9, 10, 11, 11, 11, 11, 12, 12, 12, 12, 13, 13, 14, 10,
    10, 9, 10, 10, 11, 11, 11, 12, 12, 13, 13, 13, 13, 15, 15, 10,
    10, 10, 10, 11, 11, 11, 12, 12, 13, 13, 13, 13, 14, 14, 14, 10,
    11, 10, 10, 11, 11, 12, 12, 13, 13, 13, 13, 14, 13, 14, 13, 11,
    11, 11, 10, 11, 12, 12, 12, 12, 13, 14, 14, 14, 15, 15, 14, 10,
    12, 11, 11, 11, 12, 12, 13, 14, 14, 14, 14, 14, 14, 13, 14, 11,
    12, 12, 12, 12, 12, 13, 13, 13, 13, 15, 14, 14, 14, 14, 16, 11,
    14, 12, 12, 12, 13, 13, 14, 14, 14, 16, 15, 15, 15, 17, 15, 11,
    13, 13, 11, 12, 14, 14, 13, 14, 14, 15, 16, 15, 17, 15, 14, 11,
    9, 8, 8, 9, 9, 10, 10, 10, 11, 11, 11, 11, 11, 11, 11, 8};

const unsigned short kCodes24[] = {
    15, 13, 46, 80, 146, 262, 248, 434, 426, 669, 653, 649, 621, 517, 1032, 88,
    14, 12, 21, 38, 71, 130, 122, 216, 209, 198, 327, 345, 319, 297, 279, 42,
    47, 22, 41, 74, 68, 128, 120, 221, 207, 194, 182, 340, 315, 295, 541, 18,
    81, 39, 75, 70, 134, 125, 116, 220, 204, 190, 178, 325, 311, 293, 271, 16,
    147, 72, 69, 135, 127, 118, 112, 210, 200, 188, 352, 323, 306, 285, 540, 14,
    263, 66, 129, 126, 119, 114, 214, 202, 192, 180, 341, 317, 301, 281, 262, 12,
    249, 123, 121, 117, 113, 215, 206, 195, 185, 347, 330, 308, 291, 272, 520, 10,
    435, 115, 111, 109, 211, 203, 196, 187, 353, 332, 313, 298, 283, 531, 381, 17,
    427, 212, 208, 205, 201, 193, 186, 177, 169, 320, 303, 286, 268, 514, 377, 16,
    335, 199, 197, 191, 189, 181, 174, 333, 321, 305, 289, 275, 521, 379, 371, 11,
    668, 184, 183, 179, 175, 344, 331, 314, 304, 290, 277, 530, 383, 373, 366, 10,
    652, 346, 171, 168, 164, 318, 309, 299, 287, 276, 263, 513, 375, 368, 362, 6,
    648, 322, 316, 312, 307, 302, 292, 284, 269, 261, 512, 376, 370, 364, 359, 4,
    620, 300, 296, 294, 288, 282, 273, 266, 515, 380, 374, 369, 365, 361, 357, 2,
    1033, 280, 278, 274, 267, 264, 259, 382, 378, 372, 367, 363, 360, 358, 356, 0,
    43, 20, 19, 17, 15, 13, 11, 9, 7, 6, 4, 7, 5, 3, 1, 3};
const unsigned char kLens24[] = {
    4, 4, 6, 7, 8, 9, 9, 10, 10, 11, 11, 11, 11, 11, 12, 9,
    4, 4, 5, 6, 7, 8, 8, 9, 9, 9, 10, 10, 10, 10, 10, 8,
    6, 5, 6, 7, 7, 8, 8, 9, 9, 9, 9, 10, 10, 10, 11, 7,
    7, 6, 7, 7, 8, 8, 8, 9, 9, 9, 9, 10, 10, 10, 10, 7,
    8, 7, 7, 8, 8, 8, 8, 9, 9, 9, 10, 10, 10, 10, 11, 7,
    9, 7, 8, 8, 8, 8, 9, 9, 9, 9, 10, 10, 10, 10, 10, 7,
    9, 8, 8, 8, 8, 9, 9, 9, 9, 10, 10, 10, 10, 10, 11, 7,
    10, 8, 8, 8, 9, 9, 9, 9, 10, 10, 10, 10, 10, 11, 11, 8,
    10, 9, 9, 9, 9, 9, 9, 9, 9, 10, 10, 10, 10, 11, 11, 8,
    10, 9, 9, 9, 9, 9, 9, 10, 10, 10, 10, 10, 11, 11, 11, 8,
    11, 9, 9, 9, 9, 10, 10, 10, 10, 10, 10, 11, 11, 11, 11, 8,
    11, 10, 9, 9, 9, 10, 10, 10, 10, 10, 10, 11, 11, 11, 11, 8,
    11, 10, 10, 10, 10, 10, 10, 10, 10, 10, 11, 11, 11, 11, 11, 8,
    11, 10, 10, 10, 10, 10, 10, 10, 11, 11, 11, 11, 11, 11, 11, 8,
    12, 10, 10, 10, 10, 10, 10, 11, 11, 11, 11, 11, 11, 11, 11, 8,
    8, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 8, 8, 8, 8, 4};

// Quadruple tables of the count1 region, indexed v * 8 + w * 4 + x * 2 + y.
const unsigned short kCodesA[] = {1, 5, 4, 5, 6, 5, 4, 4, 7, 3, 6, 0, 7, 2, 3, 1};
const unsigned char kLensA[] = {1, 4, 4, 5, 4, 6, 5, 6, 4, 5, 5, 6, 5, 6, 6, 6};
const unsigned short kCodesB[] = {15, 14, 13, 12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0};
const unsigned char kLensB[] = {4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4};

struct CodeTable {
    const unsigned short* codes;
    const unsigned char* lengths;
    int count;
    int size; // values x and y run from 0 to size - 1
};

#define CODE_TABLE(n, size) {kCodes##n, kLens##n, (int)sizeof(kLens##n), size}
const CodeTable kCodeTables[] = {
    CODE_TABLE(1, 2), CODE_TABLE(2, 3), CODE_TABLE(3, 3), CODE_TABLE(5, 4),
    CODE_TABLE(6, 4), CODE_TABLE(7, 6), CODE_TABLE(8, 6), CODE_TABLE(9, 6),
    CODE_TABLE(10, 8), CODE_TABLE(11, 8), CODE_TABLE(12, 8), CODE_TABLE(13, 16),
    CODE_TABLE(15, 16), CODE_TABLE(16, 16), CODE_TABLE(24, 16),
    CODE_TABLE(A, 0), CODE_TABLE(B, 0),
};
#undef CODE_TABLE
const int kCodeTableCount = sizeof(kCodeTables) / sizeof(kCodeTables[0]);
const int kQuadTableA = kCodeTableCount - 2;

// Which code table and how many linbits each table_select value uses; -1 for the
// tables the standard leaves unused (0, 4 and 14), which decode as zeros.
struct TableChoice {
    signed char codeTable;
    unsigned char linbits;
};
const TableChoice kTableChoices[32] = {
    {-1, 0}, {0, 0}, {1, 0}, {2, 0}, {-1, 0}, {3, 0}, {4, 0}, {5, 0},
    {6, 0}, {7, 0}, {8, 0}, {9, 0}, {10, 0}, {11, 0}, {-1, 0}, {12, 0},
    {13, 1}, {13, 2}, {13, 3}, {13, 4}, {13, 6}, {13, 8}, {13, 10}, {13, 13},
    {14, 4}, {14, 5}, {14, 6}, {14, 7}, {14, 8}, {14, 9}, {14, 11}, {14, 13},
};

// Lookup entries: a leaf holds the symbol in bits 0-7 (x in the high and y in the
// low four bits for pairs, vwxy for quadruples) and its code length at this level
// in bits 8-15; a link (top bit) holds the offset of a second-level table in
// bits 0-15 and that table's width in bits 16-23.
const unsigned kLink = 0x80000000u;
const int kRootBits = 10;
const int kLookupCapacity = 1 << 14; // the tables take 11520 entries

const int kLargestValue = 15 + (1 << 13) - 1; // with 13 linbits

struct HuffmanLookups {
    unsigned entries[kLookupCapacity];
    int used;
    int root[kCodeTableCount];
    int rootBits[kCodeTableCount];
    float pow43[kLargestValue + 1];
    // sign x |x|^(4/3) for the values without linbits, by x * 2 + sign bit.
    float signedPow43[32];

    HuffmanLookups() : used(0)
    {
        for (int t = 0; t < kCodeTableCount; t++)
            Build(t);
        for (int x = 0; x <= kLargestValue; x++)
            pow43[x] = (float)pow((double)x, 4.0 / 3.0);
        for (int x = 0; x < 16; x++) {
            signedPow43[2 * x] = pow43[x];
            signedPow43[2 * x + 1] = -pow43[x];
        }
    }

    static unsigned Symbol(const CodeTable& table, int i)
    {
        return table.size ? (unsigned)((i / table.size) << 4 | (i % table.size)) : (unsigned)i;
    }

    void Build(int t)
    {
        const CodeTable& table = kCodeTables[t];
        int maxLength = 0;
        for (int i = 0; i < table.count; i++)
            if (table.lengths[i] > maxLength)
                maxLength = table.lengths[i];
        int bits = maxLength < kRootBits ? maxLength : kRootBits;
        root[t] = used;
        rootBits[t] = bits;
        used += 1 << bits;
        // Short codes fill every root entry they prefix.
        for (int i = 0; i < table.count; i++) {
            int length = table.lengths[i];
            if (length > bits)
                continue;
            int first = table.codes[i] << (bits - length);
            for (int k = 0; k < 1 << (bits - length); k++)
                entries[root[t] + first + k] = (unsigned)(length << 8) | Symbol(table, i);
        }
        // Long codes go to a second-level table per root prefix, as wide as the
        // longest code under that prefix needs.
        int subBits[1 << kRootBits] = {};
        for (int i = 0; i < table.count; i++) {
            int rest = table.lengths[i] - bits;
            if (rest > 0 && rest > subBits[table.codes[i] >> rest])
                subBits[table.codes[i] >> rest] = rest;
        }
        int subStart[1 << kRootBits] = {};
        for (int prefix = 0; prefix < 1 << bits; prefix++) {
            if (subBits[prefix] == 0)
                continue;
            subStart[prefix] = used;
            used += 1 << subBits[prefix];
            entries[root[t] + prefix] = kLink | (unsigned)subBits[prefix] << 16 | (unsigned)subStart[prefix];
        }
        for (int i = 0; i < table.count; i++) {
            int rest = table.lengths[i] - bits;
            if (rest <= 0)
                continue;
            int prefix = table.codes[i] >> rest;
            int first = (table.codes[i] & ((1 << rest) - 1)) << (subBits[prefix] - rest);
            for (int k = 0; k < 1 << (subBits[prefix] - rest); k++)
                entries[subStart[prefix] + first + k] = (unsigned)(rest << 8) | Symbol(table, i);
        }
    }
};

const HuffmanLookups kLookups;

// A bit reader private to the decoding loops: up to 64 bits ahead in a register,
// refilled 32 bits at a time, so that most codes cost a shift and a table lookup.
class BitCursor {
public:
    BitCursor(const unsigned char* data, unsigned bitPos)
        : start_(data), next_(data + (bitPos >> 3) + 8), count_(64 - (int)(bitPos & 7))
    {
        cache_ = Load64(data + (bitPos >> 3)) << (bitPos & 7);
    }

    // At least 33 bits are ready after a refill.
    void Refill()
    {
        if (count_ <= 32) {
            cache_ |= (unsigned long long)Load32(next_) << (32 - count_);
            next_ += 4;
            count_ += 32;
        }
    }
    unsigned Peek(int n) const { return (unsigned)(cache_ >> (64 - n)); }
    void Skip(int n)
    {
        cache_ <<= n;
        count_ -= n;
    }
    unsigned Take(int n)
    {
        unsigned value = Peek(n);
        Skip(n);
        return value;
    }
    unsigned Position() const { return (unsigned)(next_ - start_) * 8 - (unsigned)count_; }

private:
    static unsigned long long Load64(const unsigned char* p)
    {
        unsigned long long word;
        memcpy(&word, p, sizeof(word));
        return __builtin_bswap64(word);
    }
    static unsigned Load32(const unsigned char* p)
    {
        unsigned word;
        memcpy(&word, p, sizeof(word));
        return __builtin_bswap32(word);
    }

    const unsigned char* start_;
    const unsigned char* next_;
    unsigned long long cache_;
    int count_;
};

int DecodeSymbol(BitCursor& in, int t)
{
    int bits = kLookups.rootBits[t];
    unsigned e = kLookups.entries[kLookups.root[t] + in.Peek(bits)];
    if (e & kLink) {
        in.Skip(bits);
        e = kLookups.entries[(e & 0xFFFF) + in.Peek((e >> 16) & 0xFF)];
    }
    in.Skip((e >> 8) & 0xFF);
    return (int)(e & 0xFF);
}

// A value of at most 15 and its sign bit, which only a non-zero value has.
float SmallValue(BitCursor& in, int x)
{
    int nonzero = x != 0;
    unsigned sign = in.Peek(1) & nonzero;
    in.Skip(nonzero);
    return kLookups.signedPow43[2 * x + sign];
}

float LargeValue(BitCursor& in, int x, int linbits)
{
    if (x < 15)
        return SmallValue(in, x);
    x += (int)in.Take(linbits);
    return in.Take(1) ? -kLookups.pow43[x] : kLookups.pow43[x];
}

} // namespace

int DecodeHuffmanLines(const unsigned char* data, unsigned* bitPos, unsigned endBit,
                       const HuffmanRegions& regions, float* lines)
{
    BitCursor in(data, *bitPos);
    int i = 0;
    for (int r = 0; r < 3; r++) {
        int end = regions.end[r];
        const TableChoice& choice = kTableChoices[regions.table[r] & 31];
        if (choice.codeTable < 0) {
            for (; i < end; i++)
                lines[i] = 0.0f;
            continue;
        }
        int linbits = choice.linbits;
        if (linbits) {
            for (; i < end; i += 2) {
                in.Refill();
                int symbol = DecodeSymbol(in, choice.codeTable);
                in.Refill();
                lines[i] = LargeValue(in, symbol >> 4, linbits);
                lines[i + 1] = LargeValue(in, symbol & 15, linbits);
            }
        } else {
            for (; i < end; i += 2) {
                in.Refill();
                int symbol = DecodeSymbol(in, choice.codeTable);
                lines[i] = SmallValue(in, symbol >> 4);
                lines[i + 1] = SmallValue(in, symbol & 15);
            }
        }
    }

    int quadTable = kQuadTableA + (regions.count1Table ? 1 : 0);
    while (i + 4 <= kGranuleLines && in.Position() < endBit) {
        in.Refill();
        int symbol = DecodeSymbol(in, quadTable);
        lines[i] = SmallValue(in, symbol >> 3);
        lines[i + 1] = SmallValue(in, (symbol >> 2) & 1);
        lines[i + 2] = SmallValue(in, (symbol >> 1) & 1);
        lines[i + 3] = SmallValue(in, symbol & 1);
        i += 4;
    }
    // A quadruple that ran over the budget is not part of the granule.
    if (in.Position() > endBit && i > regions.end[2])
        i -= 4;
    *bitPos = in.Position();
    return i;
}
