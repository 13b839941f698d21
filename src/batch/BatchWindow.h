#pragma once

#include <cstdint>

namespace twinfold
{

class CheckBox;
class ComboBox;
class DirectoryView;

// The window a batch run loads each job into and starts the job's run from: the controls a job
// sets, in the order a user would set them, and the window's own handlers behind them.
class BatchWindow
{
public:
    virtual ComboBox& fileTypeBox() = 0;
    virtual CheckBox& syncAllBox() = 0;
    virtual CheckBox& selectAllBox() = 0;
    virtual DirectoryView& sourceView() = 0;
    virtual DirectoryView& destinationView() = 0;
    // The chosen file type applied to the source file list.
    virtual void applyFileType() = 0;
    // The copy buffer size shown by the options dialog.
    virtual void showCopyBufferSize(std::int32_t size) = 0;
    // The Sync command.
    virtual void sync() = 0;
    // Leaves out the success messages of the runs while a batch goes on.
    virtual void setBatchMode(bool on) = 0;

protected:
    ~BatchWindow() = default;
};

} // namespace twinfold
