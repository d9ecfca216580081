/*
 * ecc200 -- Data Matrix ECC 200 symbol encoder (ISO/IEC 16022).
 *
 * Usage: create a symbol, optionally choose a scheme and a size, optionally switch on the keyed
 * marks, hand over the data, call an output function (every call encodes afresh), and finally
 * delete the symbol. All functions run on the caller's thread; distinct symbols may be used on
 * distinct threads at once, one symbol by one thread at a time.
 */
#ifndef ECC200_H
#define ECC200_H

#include <stdint.h>

#if defined(_WIN32)
#if defined(ECC200_BUILDING_LIBRARY)
#define ECC200_API __declspec(dllexport)
#elif defined(ECC200_STATIC)
#define ECC200_API
#else
#define ECC200_API __declspec(dllimport)
#endif
#define ECC200_CALL __cdecl
#else
#define ECC200_API __attribute__((visibility("default")))
#define ECC200_CALL
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* Handle of a symbol object, as returned by CreateSymbol_ECC200. */
typedef struct ECC200_Symbol* SymbolHandle;

/* Encodation schemes (SetScheme_ECC200, GetScheme_ECC200). */
#define ECC200_SCHEME_AUTO 0
#define ECC200_SCHEME_ASCII 1
#define ECC200_SCHEME_C40 2
#define ECC200_SCHEME_BASE256 3
#define ECC200_SCHEME_EDIFACT 4
#define ECC200_SCHEME_TEXT 5
#define ECC200_SCHEME_X12 6
/* EDIFACT encodes bytes 32..94, four in three codewords, and returns to ASCII before the data
 * ends: the last bytes may be written in ASCII and may then be any byte. Which ones depends on the
 * length and the room left: when at most two codewords remain after the last whole group of four,
 * the bytes past it (up to three) go to ASCII if they fill exactly that room; otherwise the last
 * byte of a run of 4k bytes, or the last two of a run of 4k + 1, go to ASCII after the unlatch.
 * Any other byte outside 32..94 gives ECC200_ERR_EDIFACT_BYTE. */

/* Symbol sizes, rows x columns in modules (SetDimension_ECC200, GetDimension_ECC200).
 * Automatic choice picks the smallest square size that holds the data. */
#define ECC200_SIZE_AUTO (-1)
#define ECC200_SIZE_10X10 0
#define ECC200_SIZE_12X12 1
#define ECC200_SIZE_14X14 2
#define ECC200_SIZE_16X16 3
#define ECC200_SIZE_18X18 4
#define ECC200_SIZE_20X20 5
#define ECC200_SIZE_22X22 6
#define ECC200_SIZE_24X24 7
#define ECC200_SIZE_26X26 8
#define ECC200_SIZE_32X32 9
#define ECC200_SIZE_36X36 10
#define ECC200_SIZE_40X40 11
#define ECC200_SIZE_44X44 12
#define ECC200_SIZE_48X48 13
#define ECC200_SIZE_52X52 14
#define ECC200_SIZE_64X64 15
#define ECC200_SIZE_72X72 16
#define ECC200_SIZE_80X80 17
#define ECC200_SIZE_88X88 18
#define ECC200_SIZE_96X96 19
#define ECC200_SIZE_104X104 20
#define ECC200_SIZE_120X120 21
#define ECC200_SIZE_132X132 22
#define ECC200_SIZE_144X144 23
#define ECC200_SIZE_8X18 24
#define ECC200_SIZE_8X32 25
#define ECC200_SIZE_12X26 26
#define ECC200_SIZE_12X36 27
#define ECC200_SIZE_16X36 28
#define ECC200_SIZE_16X48 29
/* Rectangular extension sizes (DMRE, ISO/IEC 21471): only through ECC200_OPTION_SIZE, or chosen
 * automatically with ECC200_SHAPE_DMRE. */
#define ECC200_SIZE_8X48 30
#define ECC200_SIZE_8X64 31
#define ECC200_SIZE_8X80 32
#define ECC200_SIZE_8X96 33
#define ECC200_SIZE_8X120 34
#define ECC200_SIZE_8X144 35
#define ECC200_SIZE_12X64 36
#define ECC200_SIZE_12X88 37
#define ECC200_SIZE_16X64 38
#define ECC200_SIZE_20X36 39
#define ECC200_SIZE_20X44 40
#define ECC200_SIZE_20X64 41
#define ECC200_SIZE_22X48 42
#define ECC200_SIZE_24X48 43
#define ECC200_SIZE_24X64 44
#define ECC200_SIZE_26X40 45
#define ECC200_SIZE_26X48 46
#define ECC200_SIZE_26X64 47
#define ECC200_SIZE_COUNT 48 /* sizes 0..47 */

/* Status codes returned by the functions. */
#define ECC200_OK 0                 /* success */
#define ECC200_ERR_SIZE_TOO_SMALL 1 /* the data does not fit the size set (new: 10x10) */
#define ECC200_ERR_DATA_TOO_LONG 2  /* more than 3116 bytes, or no size of the shape holds it */
#define ECC200_ERR_EDIFACT_BYTE 4   /* EDIFACT met a byte outside 32..94 that it had to encode */
#define ECC200_ERR_X12_BYTE 6       /* X12 met a byte outside its set, or data was left over */
#define ECC200_ERR_PARAMETER 8      /* invalid handle or argument */
#define ECC200_ERR_NO_IDENTITY 10   /* a mark needs user.id, which cannot be used */
#define ECC200_ERR_BASE256_EMPTY 17 /* Base 256 has no data to encode */
#define ECC200_ERR_INTERNAL 18      /* out of memory, internal failure or file not written */
#define ECC200_ERR_UNREADABLE 19    /* ReadMatrix_ECC200: the matrix does not decode */
#define ECC200_ERR_GS1 20           /* GS1 data breaks GS1's rules (the message says which) */

/* Options (SetOption_ECC200): extensions beyond the settings above, all off by default. */
#define ECC200_OPTION_ENCODATION 1 /* ECC200_ENCODATION_*: how the automatic scheme encodes */
#define ECC200_OPTION_GS1 2        /* ECC200_GS1_*: GS1 data, FNC1 first and for every GS (0x1D) */
#define ECC200_OPTION_ECI 3        /* 0 (none) or an ECI designator 1..999999 */
#define ECC200_OPTION_SHAPE 4      /* ECC200_SHAPE_*: which sizes the automatic size considers */
#define ECC200_OPTION_SIZE 5       /* a size -1..47: SetDimension_ECC200 with the DMRE sizes too */
#define ECC200_OPTION_APPEND_POSITION 6    /* structured append: 0 (none) or this symbol's 1..16 */
#define ECC200_OPTION_APPEND_COUNT 7       /* structured append: 0 (none) or the symbols 2..16 */
#define ECC200_OPTION_APPEND_FILE_ID 8     /* structured append: 0 (none) or byte1 * 256 + byte2 */
#define ECC200_OPTION_READER_PROGRAMMING 9 /* 0 or 1: a symbol that programs the reader */

#define ECC200_ENCODATION_LOOKAHEAD 0 /* scheme switching by look-ahead (default) */
#define ECC200_ENCODATION_SMALLEST 1  /* the shortest codeword stream over all schemes */
#define ECC200_SHAPE_SQUARE 0         /* square sizes only (default) */
#define ECC200_SHAPE_ANY 1            /* the smallest of the 30 ISO/IEC 16022 sizes by area */
#define ECC200_SHAPE_DMRE 2           /* the smallest of all 48 sizes by area, DMRE included */
#define ECC200_GS1_OFF 0              /* plain data (default) */
#define ECC200_GS1_CHECKED 1          /* GS1 element string: every field and the relations checked */
#define ECC200_GS1_FIELDS_ONLY 2      /* GS1 element string: the fields checked, not the relations */

/* Flags of Gs1ElementString_ECC200. */
#define ECC200_GS1_SKIP_RELATIONS 1 /* check the fields only, not the relations between the AIs */
#define ECC200_GS1_HUMAN_READABLE 2 /* write the human-readable line instead of the element string */
#define ECC200_GS1_BRACKETED 4      /* write the bracketed form instead of the element string */
#define ECC200_MAX_MESSAGE 100      /* bytes of a message buffer that holds any message */

/* Limits. */
#define ECC200_MAX_DATA_LENGTH 3116    /* bytes accepted by SetDataToEncoding_ECC200 */
#define ECC200_MAX_DATA_CODEWORDS 1558 /* data codewords of the largest size, 144x144 */
#define ECC200_MAX_PRODUCT_ID 100      /* characters of a product identifier */
#define ECC200_MAX_SIDE 144            /* modules on a side of the largest size */
#define ECC200_MAX_MODULES (ECC200_MAX_SIDE * ECC200_MAX_SIDE) /* buffer that holds any symbol */
#define ECC200_MAX_ECI 999999 /* highest ECI designator of ECC200_OPTION_ECI */
#define ECC200_ECI_UTF8 26    /* the ECI designator that says the data is UTF-8 */

/* Reading (ReadMatrix_ECC200). */
#define ECC200_MAX_READ_LENGTH 3200 /* data bytes a reading holds: enough for any symbol */
#define ECC200_MAX_BLOCKS 10        /* interleaved Reed-Solomon blocks of the largest size */

/* User mark verdicts (ECC200_Reading.userMark). */
#define ECC200_MARK_UNCHECKED 0 /* no identity to check against */
#define ECC200_MARK_ABSENT 1    /* no block shows the mark */
#define ECC200_MARK_PARTIAL 2   /* some blocks show it, not all (userMarkBlocks of blockCount) */
#define ECC200_MARK_VALID 3     /* every block shows the mark of this identity and this data */

/* What ReadMatrix_ECC200 found in a symbol. */
typedef struct ECC200_Reading {
    int32_t rows; /* symbol size in modules */
    int32_t cols;
    int32_t dataLength;                   /* bytes in data */
    uint8_t data[ECC200_MAX_READ_LENGTH]; /* the bytes as the encoder was handed them: FNC1
                                             separators as GS (0x1D), no byte for FNC1 in first
                                             position, no ECI designators, macro 05/06 header
                                             and trailer restored */
    char symbologyId[4];                  /* "]d1" .. "]d6", zero-terminated: 2 GS1, 3 FNC1
                                             after an application indicator, 3 more with ECI */
    int32_t gs1;                          /* 1 when FNC1 came first */
    int32_t eci;                          /* the first ECI designator, -1 when none */
    int32_t readerProgramming;            /* 1 when the symbol programs a reader */
    int32_t macro;                        /* 5 or 6 for a macro symbol, else 0 */
    int32_t appendPosition;               /* structured append: 1..16, 0 when none */
    int32_t appendCount;                  /* structured append: 2..16 */
    int32_t appendFileId;                 /* structured append: first byte * 256 + second */
    int32_t blockCount;                   /* interleaved Reed-Solomon blocks */
    int32_t errors[ECC200_MAX_BLOCKS];    /* codewords corrected in each block (the user mark's
                                             codeword counts as one) */
    int32_t userMark;                     /* ECC200_MARK_* */
    int32_t userMarkBlocks;               /* blocks that show the user mark */
    int32_t productMarkLifted;            /* 1 when a product identifier was given and used */
} ECC200_Reading;

/* The handle check catches NULL and deleted-then-zeroed symbols only as far as memory allows:
 * passing a pointer that is not a live handle is undefined. */

/* Creates a symbol: automatic scheme, no data, marks off, options at their defaults.
 * Its size is requested as 10x10 although GetDimension_ECC200 reports -1 (automatic): data of 4
 * or more codewords fails with ECC200_ERR_SIZE_TOO_SMALL unless SetDimension_ECC200(symbol, -1)
 * or another size is set first.
 * @return the handle; NULL when out of memory. */
ECC200_API SymbolHandle ECC200_CALL CreateSymbol_ECC200(void);

/* Destroys a symbol and everything it owns. NULL is ignored. */
ECC200_API void ECC200_CALL DeleteSymbol_ECC200(SymbolHandle symbol);

/* Chooses the encodation scheme (ECC200_SCHEME_*).
 * @return ECC200_OK
 * @return ECC200_ERR_PARAMETER for an invalid handle or a value outside 0..6 (setting kept) */
ECC200_API int32_t ECC200_CALL SetScheme_ECC200(SymbolHandle symbol, int32_t scheme);

/* @return the scheme set; after an encode, the scheme the codewords ended in: ECC200_SCHEME_ASCII
 *         for automatic, X12, EDIFACT and Base 256, which all return to ASCII at the end
 * @return ECC200_SCHEME_AUTO for a new or cleared symbol, or an invalid handle */
ECC200_API int32_t ECC200_CALL GetScheme_ECC200(SymbolHandle symbol);

/* Chooses the symbol size (ECC200_SIZE_*); ECC200_SIZE_AUTO takes the smallest size of the shape
 * (square by default, ECC200_OPTION_SHAPE) that holds the data. The DMRE sizes 30..47 are set
 * through ECC200_OPTION_SIZE instead.
 * @return ECC200_OK
 * @return ECC200_ERR_PARAMETER for an invalid handle or a value outside -1..29 (setting kept) */
ECC200_API int32_t ECC200_CALL SetDimension_ECC200(SymbolHandle symbol, int32_t size);

/* @return the size set; after an encode at ECC200_SIZE_AUTO, the size chosen (a DMRE size 30..47
 *         only when one was set with ECC200_OPTION_SIZE or chosen under ECC200_SHAPE_DMRE)
 * @return ECC200_SIZE_AUTO for a new or cleared symbol, when no size held the data, or an invalid
 *         handle */
ECC200_API int32_t ECC200_CALL GetDimension_ECC200(SymbolHandle symbol);

/* Replaces the data with length bytes (copied; any byte values). The old data and the last
 * result are forgotten first, so a failed call leaves the symbol without data.
 * @return ECC200_OK
 * @return ECC200_ERR_PARAMETER for an invalid handle, NULL data or length < 1
 * @return ECC200_ERR_DATA_TOO_LONG for length above ECC200_MAX_DATA_LENGTH (3116) */
ECC200_API int32_t ECC200_CALL SetDataToEncoding_ECC200(SymbolHandle symbol, const uint8_t* data,
                                                        int32_t length);

/* Switches the user mark on (enable != 0) or off. Switching on reads the identity file user.id
 * from the current directory; it is read again at every encode. A failed call leaves the mark off.
 * @return ECC200_OK
 * @return ECC200_ERR_NO_IDENTITY when user.id is missing, malformed or too long for the mark
 * @return ECC200_ERR_INTERNAL when out of memory
 * @return ECC200_ERR_PARAMETER for an invalid handle */
ECC200_API int32_t ECC200_CALL SetSignUser_ECC200(SymbolHandle symbol, uint8_t enable);

/* Switches the product mark on with the identifier productId (1..ECC200_MAX_PRODUCT_ID
 * characters, zero-terminated) or off. user.id is checked before the identifier, as for the user
 * mark. A product-marked symbol reads back only once the mark is undone with the same key. A
 * failed call leaves the mark off.
 * @return ECC200_OK
 * @return ECC200_ERR_NO_IDENTITY when user.id is missing, malformed or too long for the mark
 * @return ECC200_ERR_PARAMETER for a NULL, empty or too long identifier, or an invalid handle
 * @return ECC200_ERR_INTERNAL when out of memory */
ECC200_API int32_t ECC200_CALL SetSignProduct_ECC200(SymbolHandle symbol, uint8_t enable,
                                                     const char* productId);

/* Sets one option (ECC200_OPTION_*) to value:
 *   ECC200_OPTION_ENCODATION  ECC200_ENCODATION_LOOKAHEAD (default) or ECC200_ENCODATION_SMALLEST
 *   ECC200_OPTION_GS1         ECC200_GS1_OFF (default), ECC200_GS1_CHECKED or
 *                             ECC200_GS1_FIELDS_ONLY: the data is a GS1 element string (see
 *                             Gs1ElementString_ECC200), checked at every encode
 *   ECC200_OPTION_ECI         0 (default, none) or a designator 1..999999
 *   ECC200_OPTION_SHAPE       ECC200_SHAPE_SQUARE (default), ECC200_SHAPE_ANY or ECC200_SHAPE_DMRE
 *   ECC200_OPTION_SIZE        ECC200_SIZE_AUTO or any ECC200_SIZE_* 0..47: the same setting as
 *                             SetDimension_ECC200 (which it replaces), DMRE sizes included
 *   ECC200_OPTION_APPEND_POSITION, _COUNT, _FILE_ID
 *                             0 (default) or, for one symbol of a structured append set of up to
 *                             16 symbols that readers join: its position 1..count, the count
 *                             2..16 and a file identifier byte1 * 256 + byte2 (each 1..254) that
 *                             every symbol of the set shares. The three go together: an encode
 *                             with one set and another missing, or a position above the count,
 *                             fails with ECC200_ERR_PARAMETER.
 *   ECC200_OPTION_READER_PROGRAMMING
 *                             0 (default) or 1: the symbol programs the reader (codeword 234
 *                             first). An encode with GS1 or structured append as well fails with
 *                             ECC200_ERR_PARAMETER.
 * With ECC200_ENCODATION_SMALLEST, data of the form "[)>" RS "05" GS ... RS EOT (or "06") is
 * written as one macro codeword and the data between header and trailer, which readers restore
 * (not with GS1, an ECI, structured append or reader programming).
 * Options are settings of the symbol: they hold for every encode until changed, and
 * Clear_ECC200 resets them to their defaults, except the size, which stays requested as with
 * SetDimension_ECC200.
 * @return ECC200_OK
 * @return ECC200_ERR_PARAMETER for an unknown option, a value out of range (setting kept) or an
 *         invalid handle */
ECC200_API int32_t ECC200_CALL SetOption_ECC200(SymbolHandle symbol, int32_t option, int32_t value);

/* Empties the data and the last result, switches both marks off and resets the options. The scheme
 * and size last set stay requested (and so does the product identifier), although GetScheme_ECC200
 * then reports 0 and GetDimension_ECC200 -1: set them again to be sure what the next encode uses.
 * NULL is ignored. */
ECC200_API void ECC200_CALL Clear_ECC200(SymbolHandle symbol);

/* Encodes the data and copies the symbol into buffer, one byte per module (1 dark, 0 light),
 * rows x columns bytes with the top row first; GetDimension_ECC200 then tells the size. The
 * encode comes first, so a buffer too small still leaves the size to be read; ECC200_MAX_MODULES
 * bytes always suffice.
 * @return ECC200_OK
 * @return ECC200_ERR_SIZE_TOO_SMALL, ECC200_ERR_DATA_TOO_LONG, ECC200_ERR_EDIFACT_BYTE,
 *         ECC200_ERR_X12_BYTE, ECC200_ERR_BASE256_EMPTY, ECC200_ERR_INTERNAL when the encode fails
 * @return ECC200_ERR_NO_IDENTITY when a mark is on and user.id cannot be loaded at that moment
 * @return ECC200_ERR_PARAMETER for a NULL or too small buffer (buffer untouched), an invalid
 *         handle, GS1 data with an ECI or starting with GS, an incomplete structured append or
 *         reader programming with GS1 or structured append
 * @return ECC200_ERR_GS1 when ECC200_OPTION_GS1 is on and the data breaks GS1's rules: an unknown
 *         AI, a value that does not fit its AI, or (with ECC200_GS1_CHECKED) a relation between
 *         AIs; the symbol's message names the AI, the component and the rule
 * With the automatic scheme, a look-ahead stream that does not fit (1 or 2) is encoded again in
 * the smallest encodation, which may fit. */
ECC200_API int32_t ECC200_CALL WriteEncodedSymbolToBuf_ECC200(SymbolHandle symbol, uint8_t* buffer,
                                                              int32_t bufferSize);

/* Encodes the data and writes the symbol as an 8-bit greyscale BMP file, moduleSize pixels per
 * module and a white margin of quietZone pixels on every side (none when quietZone <= 0).
 * @return ECC200_OK
 * @return the encode failures of WriteEncodedSymbolToBuf_ECC200
 * @return ECC200_ERR_PARAMETER for moduleSize < 1, a NULL fileName, a picture whose file would
 *         exceed 2 GiB, or an invalid handle
 * @return ECC200_ERR_INTERNAL when the file cannot be written completely
 * The file is replaced by the rule of WriteFileReplacing_ECC200: written as a temporary file in the
 * target's folder and renamed onto it only once complete (on failure an existing file is left as
 * it was and the temporary file removed); a symbolic link is followed and the file it names
 * replaced, the link kept; the replacement keeps the old file's permission bits, and its owner and
 * group where the process may set them. Devices and pipes are written directly. */
ECC200_API int32_t ECC200_CALL WriteEncodedSymbolToBMP_ECC200(SymbolHandle symbol,
                                                              int32_t moduleSize, int32_t quietZone,
                                                              const char* fileName);

/* Writes the whole file at path and returns nonzero, or 0 when any write failed (see
 * WriteFileReplacing_ECC200). Called on the caller's thread, before WriteFileReplacing_ECC200
 * returns. */
typedef int32_t(ECC200_CALL* ECC200_FileFiller)(const char* path, void* context);
/* Writes fileName the way WriteEncodedSymbolToBMP_ECC200 writes its file, with the contents
 * written by fill: a regular file, or a name where nothing exists yet, is written as a new
 * temporary file in the same folder, whose name fill receives (with the target's permission bits,
 * and its owner and group where the process may set them, already applied; open it for writing
 * by that name). Once fill returns nonzero, the temporary file is renamed onto the target in one
 * step (on Windows with ReplaceFile, keeping the target's attributes and access control list);
 * when fill returns 0 or anything fails, the temporary file is removed and an existing file is
 * left exactly as it was. A symbolic link is followed: the file it names is replaced, in that
 * file's folder, and the link stays. A device or a FIFO is handed to fill by its own name.
 * @return ECC200_OK
 * @return ECC200_ERR_PARAMETER for a NULL fileName or fill
 * @return ECC200_ERR_INTERNAL when the file was not written completely (fill returned 0, or the
 *         temporary file could not be created or renamed) */
ECC200_API int32_t ECC200_CALL WriteFileReplacing_ECC200(const char* fileName,
                                                         ECC200_FileFiller fill, void* context);
/* Reads a symbol from its module matrix: rows x cols bytes, top row first, nonzero for dark (the
 * layout WriteEncodedSymbolToBuf_ECC200 writes), upright (a turned, mirrored or inverted matrix
 * does not read). A productId (NULL for none) undoes a product mark before decoding;
 * identityFile names the identity file of both marks, NULL for user.id in the current
 * directory; without a usable identity the user mark is ECC200_MARK_UNCHECKED. Allocates nothing
 * and keeps no state: any number of threads may read at once.
 * @return ECC200_OK with reading filled in
 * @return ECC200_ERR_PARAMETER for NULL modules or reading, a size that is no symbol size, or an
 *         empty or too long productId
 * @return ECC200_ERR_NO_IDENTITY when productId is given and the identity cannot be loaded
 * @return ECC200_ERR_UNREADABLE when the matrix does not decode (rows and cols are still set) */
ECC200_API int32_t ECC200_CALL ReadMatrix_ECC200(const uint8_t* modules, int32_t rows, int32_t cols,
                                                 const char* productId, const char* identityFile,
                                                 ECC200_Reading* reading);

/* Checks GS1 data against GS1's rules (the AI table of GS1's Barcode Syntax Dictionary) and
 * writes the element string that an encode with ECC200_OPTION_GS1 takes: AIs and values run
 * together, GS (0x1D) after every field that is neither of predefined length nor the last.
 * text (zero-terminated) is either the bracketed form, "(01)09501101530003(10)ABC\(1\)" with
 * "\(" and "\)" for parentheses in a value, or an element string already (it starts with a
 * digit). Checked: every AI known, every value against its AI's components (character set,
 * length, checks such as check digits, dates, country and currency codes) and, unless flags has
 * ECC200_GS1_SKIP_RELATIONS, the relations: every AI's required AIs present, no two AIs that
 * exclude each other, no AI repeated with another value. With ECC200_GS1_HUMAN_READABLE, out
 * receives the human-readable line instead, "(01) 09501101530003 (10) ABC(1)"; with
 * ECC200_GS1_BRACKETED the bracketed form, "(01)09501101530003(10)ABC\(1\)".
 * out receives outSize bytes at most, and a terminating zero when there is room for it;
 * outLength (may be NULL) the length. message (messageSize bytes, may be NULL with 0) receives a
 * one-line reason on failure, ASCII only, at most ECC200_MAX_MESSAGE bytes, else "".
 * @return ECC200_OK
 * @return ECC200_ERR_GS1 when the data breaks a rule
 * @return ECC200_ERR_DATA_TOO_LONG when the element string is longer than
 *         ECC200_MAX_DATA_LENGTH (3116) bytes
 * @return ECC200_ERR_PARAMETER for a NULL text, unknown flags or both forms asked, a negative
 *         size, a NULL buffer with a size, or an out buffer too small (outLength then tells the
 *         length needed) */
ECC200_API int32_t ECC200_CALL Gs1ElementString_ECC200(const char* text, int32_t flags,
                                                       uint8_t* out, int32_t outSize,
                                                       int32_t* outLength, char* message,
                                                       int32_t messageSize);
/* Counts the data codewords of a finished symbol from its module matrix alone (rows x cols bytes,
 * top row first, nonzero for dark, as WriteEncodedSymbolToBuf_ECC200 writes): the codewords are
 * read back through the module placement of the size, and the padding at the end of the data (the
 * first pad 129 and the randomised pads after it) is not counted. The error correction is not
 * checked. A stream that fills the symbol and happens to end like a padding counts short.
 * @return the number of data codewords before the padding (0..1558)
 * @return -ECC200_ERR_PARAMETER for NULL modules or a rows x cols that is no symbol size */
ECC200_API int32_t ECC200_CALL CountDataCodewords_ECC200(const uint8_t* modules, int32_t rows,
                                                         int32_t cols);

/* @return the library version text, "21.10" (static storage) */
ECC200_API const char* ECC200_CALL Version_ECC200(void);

#ifdef __cplusplus
}
#endif

#endif /* ECC200_H */
