#include "inspection/sample_destroy_rules.h"

#include "frame/convert.h"
#include "frame/sql_text.h"
#include "frame/text_util.h"

namespace velaqm {

std::string UndestroyedSamplesQuery(std::string_view samplingRecordNo) {
    return std::string(" select a.FID,a.FClassTypeID,b.FEntryID from qmsampling a") +
           " inner join qmsamplingentry b on a.FID=b.FID " +
           " where a.FCheckerID<>0 and b.FDestoryFlag=0 AND a.FbillNo= " +
           SqlText(samplingRecordNo);
}

bool NamesSamplingRecord(std::string_view fieldKey) {
    return EqualsNoCase(fieldKey, "FSampleNO");
}

std::string SamplingRecordFilter(const Variant& sampleId) {
    if (WholeNumber(sampleId) == 0) return "";
    return "QMSampling.FID =" + SqlWhole(sampleId);
}

}  // namespace velaqm
