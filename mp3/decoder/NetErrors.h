// Result codes of the network library and its stream clients: 0 or a count for
// success, a negative code of the decoder's error families for failure, whose
// texts GetDecoderErrorText gives.
#pragma once

#include "mp3/decoder/DecoderErrors.h"

const int kNetFailed = -1;               // unclassified send or connect failure
const int kNetErrConnectionRefused = -202;
const int kNetErrAcceptFailed = -203;
const int kNetErrListenFailed = -204;
const int kNetErrSocketFailed = -205;
const int kNetErrSocketClosed = -206;
const int kNetErrBindFailed = -207;
const int kNetErrHostUnknown = -208;
const int kNetErrInvalidHttpReply = -209;
const int kNetErrHttpErrorReply = -210;
const int kNetErrHttp = -211;
const int kNetErrInvalidFtpReply = -212;
const int kNetErrFtpErrorReply = -213;
const int kNetErrFtp = -214;
const int kNetErrSelectFailed = kErrSelectFailed;
const int kNetErrUnsupportedScheme = -400;
const int kNetErrInvalidUrlSyntax = -401;
const int kNetErrReadFailed = kErrReadFailed;

