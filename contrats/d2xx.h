#pragma once
// The FTDI D2XX functions the V6 link uses, with the binary interface of FTDI's own library
// on each platform: DWORD, ULONG and FT_STATUS are 32-bit, FT_HANDLE a pointer, the Windows
// calling convention on Windows. The driver loads them at run time by name; our V6
// simulator exports them under the same names.
#include <cstdint>

#if defined(_WIN32)
#define D2XX_APPEL __stdcall
#else
#define D2XX_APPEL
#endif

namespace d2xx {
using DWORD = uint32_t;
using ULONG = uint32_t;
using USHORT = uint16_t;
using UCHAR = uint8_t;
using FT_STATUS = uint32_t;
using FT_HANDLE = void*;

constexpr FT_STATUS FT_OK = 0;
constexpr FT_STATUS FT_INVALID_HANDLE = 1;
constexpr FT_STATUS FT_DEVICE_NOT_FOUND = 2;
constexpr FT_STATUS FT_DEVICE_NOT_OPENED = 3;
constexpr FT_STATUS FT_IO_ERROR = 4;
constexpr FT_STATUS FT_INVALID_PARAMETER = 6;
constexpr FT_STATUS FT_OTHER_ERROR = 18;

constexpr DWORD FT_OPEN_BY_SERIAL_NUMBER = 1;
constexpr DWORD FT_OPEN_BY_DESCRIPTION = 2;

constexpr UCHAR FT_BITS_8 = 8;
constexpr UCHAR FT_STOP_BITS_1 = 0;
constexpr UCHAR FT_PARITY_NONE = 0;
constexpr USHORT FT_FLOW_NONE = 0x0000;
constexpr USHORT FT_FLOW_RTS_CTS = 0x0100;
constexpr ULONG FT_PURGE_RX = 1;
constexpr ULONG FT_PURGE_TX = 2;
} // namespace d2xx

extern "C" {
using TFT_OpenEx = d2xx::FT_STATUS(D2XX_APPEL*)(void* arg, d2xx::DWORD flags,
                                                d2xx::FT_HANDLE* handle);
using TFT_Close = d2xx::FT_STATUS(D2XX_APPEL*)(d2xx::FT_HANDLE);
using TFT_Read = d2xx::FT_STATUS(D2XX_APPEL*)(d2xx::FT_HANDLE, void* tampon, d2xx::DWORD aLire,
                                              d2xx::DWORD* lus);
using TFT_Write = d2xx::FT_STATUS(D2XX_APPEL*)(d2xx::FT_HANDLE, void* tampon, d2xx::DWORD aEcrire,
                                               d2xx::DWORD* ecrits);
using TFT_SetBaudRate = d2xx::FT_STATUS(D2XX_APPEL*)(d2xx::FT_HANDLE, d2xx::ULONG baud);
using TFT_SetDataCharacteristics = d2xx::FT_STATUS(D2XX_APPEL*)(d2xx::FT_HANDLE, d2xx::UCHAR bits,
                                                                d2xx::UCHAR stop,
                                                                d2xx::UCHAR parite);
using TFT_SetFlowControl = d2xx::FT_STATUS(D2XX_APPEL*)(d2xx::FT_HANDLE, d2xx::USHORT flux,
                                                        d2xx::UCHAR xon, d2xx::UCHAR xoff);
using TFT_SetRts = d2xx::FT_STATUS(D2XX_APPEL*)(d2xx::FT_HANDLE);
using TFT_SetChars = d2xx::FT_STATUS(D2XX_APPEL*)(d2xx::FT_HANDLE, d2xx::UCHAR evenement,
                                                  d2xx::UCHAR evenementActif, d2xx::UCHAR erreur,
                                                  d2xx::UCHAR erreurActif);
using TFT_Purge = d2xx::FT_STATUS(D2XX_APPEL*)(d2xx::FT_HANDLE, d2xx::ULONG masque);
using TFT_SetTimeouts = d2xx::FT_STATUS(D2XX_APPEL*)(d2xx::FT_HANDLE, d2xx::ULONG lecture,
                                                     d2xx::ULONG ecriture);
using TFT_GetQueueStatus = d2xx::FT_STATUS(D2XX_APPEL*)(d2xx::FT_HANDLE, d2xx::DWORD* enAttente);
}
