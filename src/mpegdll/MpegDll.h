/*
 * The C interface of the MP3 decoder and player library (libmpegdll.so).
 *
 * The program never links against the library: the player component loads it
 * at run time and resolves these nineteen exports by name, so this header
 * only fixes their arguments and results, and the codes they share. A
 * replacement library must export the same names with the same signatures.
 *
 * The library holds one stream per process. Every call except LastError
 * records its error code, which LastError then returns: 0 when the call
 * succeeded, 1 to 5 as listed below. Positions and lengths are milliseconds.
 */
#ifndef VANTO_MPEGDLL_H
#define VANTO_MPEGDLL_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#if defined(__GNUC__)
#define MPEGDLL_API __attribute__((visibility("default")))
#else
#define MPEGDLL_API
#endif

/* LastError codes. */
enum {
    MPEGDLL_OK = 0,
    MPEGDLL_ERR_INTERNAL = 1,     /* decoder could not be created or failed */
    MPEGDLL_ERR_MODE = 2,         /* call not allowed in the current state */
    MPEGDLL_ERR_INPUT = 3,        /* file missing, unreadable or not MPEG audio */
    MPEGDLL_ERR_NOT_SEEKABLE = 4, /* seek on a stream that cannot seek */
    MPEGDLL_ERR_OUTPUT = 5        /* output device or PCM file failed */
};

/* GetPlayerMode results. */
enum {
    MPEGDLL_MODE_CLOSED = 0,  /* no stream open */
    MPEGDLL_MODE_STOPPED = 1, /* stream open, not playing */
    MPEGDLL_MODE_PAUSED = 2,
    MPEGDLL_MODE_PLAYING = 3,
    MPEGDLL_MODE_ENDED = 4 /* the stream has played out */
};

/* SetOutputDevice device codes. */
enum {
    MPEGDLL_DEVICE_DEFAULT = 0, /* the default audio output, silent when there is none */
    MPEGDLL_DEVICE_PCMFILE = 2  /* raw signed 16-bit little-endian samples into a file */
};

/* Booleans are one byte: 0 false, anything else true. */
typedef uint8_t mpegdll_bool;

/* Stream-mode callbacks. Only file mode (stream flag 0) is supported; the
 * callback and user pointers must be null. */
typedef void* mpegdll_callback;

/* The exports themselves, declared only inside the library: the program
 * reaches them through the pointer types below, and must not see C functions
 * named Open or Close in its global namespace. */
#ifdef MPEGDLL_BUILDING
MPEGDLL_API mpegdll_bool init(void);
MPEGDLL_API void deinit(void);
MPEGDLL_API void Open(const char* fileName, int32_t streamFlag, mpegdll_callback onOpen,
                      mpegdll_callback onClose, mpegdll_callback onRestart,
                      mpegdll_callback onGetSize, mpegdll_callback onSeek, mpegdll_callback onRead,
                      void* user);
/* resume 0 pauses, anything else resumes. */
MPEGDLL_API void Pause(mpegdll_bool resume);
MPEGDLL_API void Restart(void);
MPEGDLL_API void Stop(void);
/* A platform thread priority: -15 idle, -2 .. 2 lowest .. highest, 15 time critical. */
MPEGDLL_API void SetPriority(int32_t priority);
MPEGDLL_API void SetOutputDevice(int32_t device, const char* fileName);
/* Plays from startPos to endPos (0: to the end); sets *ended to 1 once the
 * stream has played out. Returns 0 on success. */
MPEGDLL_API int32_t Play(int32_t startPos, int32_t endPos, uint8_t* ended);
MPEGDLL_API void Close(void);
MPEGDLL_API int32_t GetFrequency(void);
MPEGDLL_API int32_t GetBitrate(void); /* kbit/s, the average for VBR streams */
MPEGDLL_API int32_t GetLayer(void);
MPEGDLL_API int32_t GetPlayerMode(void);
MPEGDLL_API int32_t GetCurrentPos(void);
MPEGDLL_API int32_t GetLength(void);
MPEGDLL_API void ResetPlayerMode(void);
MPEGDLL_API int32_t Seek(int32_t position);
MPEGDLL_API int32_t LastError(void);
#endif

/* Function pointer types, for loading the library at run time. */
typedef mpegdll_bool (*mpegdll_init_fn)(void);
typedef void (*mpegdll_deinit_fn)(void);
typedef void (*mpegdll_open_fn)(const char*, int32_t, mpegdll_callback, mpegdll_callback,
                                mpegdll_callback, mpegdll_callback, mpegdll_callback,
                                mpegdll_callback, void*);
typedef void (*mpegdll_pause_fn)(mpegdll_bool);
typedef void (*mpegdll_void_fn)(void);
typedef void (*mpegdll_set_priority_fn)(int32_t);
typedef void (*mpegdll_set_output_device_fn)(int32_t, const char*);
typedef int32_t (*mpegdll_play_fn)(int32_t, int32_t, uint8_t*);
typedef int32_t (*mpegdll_int_fn)(void);
typedef int32_t (*mpegdll_seek_fn)(int32_t);

/* The library's file name on this platform. */
#define MPEGDLL_FILE_NAME "libmpegdll.so"

#ifdef __cplusplus
}
#endif

#endif /* VANTO_MPEGDLL_H */
