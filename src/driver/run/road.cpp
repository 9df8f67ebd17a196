#include "driver/run/road.h"

#include "output/result_document.h"

namespace tavorine {

ExitStatus EndRun(const RunEnd& end, OutputMode mode, OutputSink& output) {
  if (end.failure) {
    ResultDocument document(mode);
    if (end.afterHead) {
      document.DocErrorAfterHead(end.failure->message);
    } else {
      document.DocError(end.failure->message);
    }
    output.Write(document.Text());
  }
  if (!output.Delivered()) return ExitStatus::Failed;
  if (end.errorReport) return ExitStatus::ErrorReport;
  return end.failure ? ExitStatus::Failed : ExitStatus::Finished;
}

}  // namespace tavorine
