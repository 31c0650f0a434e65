#include "kept_copy.h"

#include "failures.h"
#include "named_files.h"

namespace torvalink {

KeptCopy::~KeptCopy()
{
    for (const Text* left : {&kept_, &failed_})
        if (!left->empty())
            static_cast<void>(DeleteNamedFileNowOrAtRestart(*left)); // nothing more to be done about it
}

Status KeptCopy::Keep(const Text& installed)
{
    const Text kept = installed + L".kept";
    // A copy of a read-only file would be read-only too, and could not be deleted.
    if (!CopyNamedFile(installed, kept))
        return LastFileFailure();
    installed_ = installed;
    kept_ = kept;
    return FileResult(SetNamedFileAttributes(kept_, FILE_ATTRIBUTE_NORMAL));
}

Status KeptCopy::PutBack()
{
    const Text failed = installed_ + L".failed";
    // A copy put aside by an earlier run, whose deletion may still wait for a restart.
    static_cast<void>(DeleteNamedFile(failed));
    const bool putBack = MoveNamedFile(installed_, failed) && MoveNamedFile(kept_, installed_);
    const Status outcome = FileResult(putBack);
    if (putBack)
        failed_ = failed;
    // Otherwise neither copy is deleted: the kept one may be the only one that works.
    kept_.clear();
    return outcome;
}

} // namespace torvalink
