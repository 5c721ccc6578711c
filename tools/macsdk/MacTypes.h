// Stands for Apple's MacTypes.h: the fixed-size integers, Boolean, the status and four-character
// code types and the counts that Carbon and Core Foundation take, with Apple's LP64 spellings.
// Not the SDK: only what src/mac/ needs.
#pragma once

typedef unsigned char UInt8;
typedef unsigned short UInt16;
typedef unsigned int UInt32;
typedef signed int SInt32;
typedef unsigned long long UInt64;
typedef signed long long SInt64;
typedef unsigned char Boolean;
typedef UInt16 UniChar;
typedef unsigned long UniCharCount;
typedef SInt32 OSStatus;
typedef UInt32 FourCharCode;
typedef FourCharCode OSType;
typedef UInt32 OptionBits;
typedef unsigned long ItemCount;
typedef unsigned long ByteCount;

enum { noErr = 0 };
