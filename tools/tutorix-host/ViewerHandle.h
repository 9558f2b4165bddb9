#pragma once
// Publishes the host's suffix where clients look for it: the registry value
// "ViewerHandle" of the host's key (an INI store on Linux, see
// support/Registry.h). When the host ends, the value goes back to
// "00000000" unless another host has replaced it meanwhile.

#include <QString>

class TViewerHandlePublication {
public:
    explicit TViewerHandlePublication(QString suffix);
    ~TViewerHandlePublication();
    TViewerHandlePublication(const TViewerHandlePublication&) = delete;
    TViewerHandlePublication& operator=(const TViewerHandlePublication&) = delete;

    // False when the store could not be written.
    bool Published() const { return published_; }
    QString StorePath() const;

private:
    bool Write(const QString& value);

    QString suffix_;
    bool published_ = false;
};
