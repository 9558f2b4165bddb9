#pragma once
// Names and codes of the link between a simulation program and the Tutorix
// host (an e-book viewer that starts programs, hands them parameters, serves
// files and may tell them to quit). Both sides use these, so a client and a
// host built from different versions still understand each other.

#include "support/Errors.h"

#include <QString>
#include <QtGlobal>
#include <cstddef>

// The exception of the link; it carries only its message text.
class ETutorix : public Exception {
public:
    using Exception::Exception;
};

// The message codes (the code of a copy-data block).
enum TTutorixMessage : qint32 {
    lmQuit = 0x1000,         // host to client: 1 byte ServerDown
    lmReply = 0x1001,        // host to client: the answer, stamped like its request
    lmRegister = 0x1002,     // client to host: entity record
    lmUnregister = 0x1003,   // client to host: entity record
    lmFindEntity = 0x1004,   // selector 1 + handle, or 2 + link string title
    lmParams = 0x1005,       // any to client: lines, each followed by CR LF
    lmExecute = 0x1006,      // file, parameters, wait byte, 32-bit option
    lmGetFile = 0x1007,      // link string name
    lmHostFileName = 0x1008, // link string
    lmHostString = 0x1009,   // link string
    lmGetVariable = 0x100A,  // link string variable name
};

// The selector byte of lmFindEntity.
enum TFindEntitySelector : quint8 { feByHandle = 1, feByTitle = 2 };

// Window classes and names. The host's carry its suffix, so several hosts can
// run side by side and a client picks one by "/serverhandle=".
inline const QString kServerWindowName = QStringLiteral("ThisIsTheTutorixServerComponentWindow");
inline const QString kServerWindowClass = QStringLiteral("ThisIsTheTutorixServerComponentWindowClass");
inline const QString kClientWindowClass = QStringLiteral("ThisIsTheTutorixClientComponentWindowClass");

// Where a client looks for the host's suffix: the registry value, then the
// command line.
inline const QString kDemonRegistryKey = QStringLiteral("\\Software\\Quillon\\meridor\\demon");
inline const QString kViewerHandleValue = QStringLiteral("ViewerHandle");
inline const QString kServerHandleParam = QStringLiteral("/serverhandle=");

// A process cannot read the exit code of a process it did not start, so the
// host keeps the exit codes of the programs it started and a client asks for
// one with lmGetVariable and this name followed by the decimal process id.
// The answer is the decimal exit code, kExitCodeRunning while the program
// runs, and empty for a process the host does not know.
inline const QString kExitCodeVariable = QStringLiteral("$ExitCode:");
inline const QString kExitCodeRunning = QStringLiteral("running");

// A block is at least its 8-byte stamp; anything larger than this is refused
// before a byte of it is stored.
constexpr std::size_t kMaxBlockSize = 64u * 1024u * 1024u;
constexpr std::size_t kStampSize = 8;

// How long a send waits for a receiver that accepted the message; after that
// it counts as not delivered, so a hung peer cannot freeze the program.
constexpr int kDefaultSendTimeoutMs = 30000;
