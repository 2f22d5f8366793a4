#pragma once
// The keys of every label text the component shows (GetLabelText looks them up in the I18N
// section of FieldMapper.xml). Each constant is named after what its text says, so that a
// reader of a fragment or a message knows what appears without opening the field definitions.
#include <string_view>

namespace quillmere::label {

// --- Start-up and failures shared by many methods -------------------------------------------
inline constexpr std::string_view kFolderNotCreated = "SLBEU0259";
// "Drive C: was not found; the data could not be stored."
inline constexpr std::string_view kDataNotStored = "SLBEU0321";
inline constexpr std::string_view kOrderStoreNotLoaded = "SLBEU0260";
inline constexpr std::string_view kFieldDefinitionsNotLoaded = "SLBEU0261";
inline constexpr std::string_view kNotXml = "SLBEU0265";

// --- Download, update and add ---------------------------------------------------------------
inline constexpr std::string_view kDownloadEmpty = "SLBEU0264";
inline constexpr std::string_view kDownloadAdded = "SLBEU0266";
inline constexpr std::string_view kNoNewData = "SLBEU0322";
inline constexpr std::string_view kChangesNotXml = "SLBEU0267";
inline constexpr std::string_view kNothingToAdd = "SLBEU0268";
inline constexpr std::string_view kNewRecordNotXml = "SLBEU0269";
inline constexpr std::string_view kOrderNotFound = "SLBEU0323";
inline constexpr std::string_view kOrderExists = "SLBEU0324";
inline constexpr std::string_view kActivityExists = "SLBEU0325";
inline constexpr std::string_view kLineExists = "SLBEU0326";

// --- Field validation (the field's label goes in front of most) -----------------------------
inline constexpr std::string_view kRequired = "SLBEU0327";
inline constexpr std::string_view kNotADate = "SLBEU0328";
inline constexpr std::string_view kOrderNotOpen = "SLBEU0329";
inline constexpr std::string_view kOrderNotInterrupted = "SLBEU0330";
inline constexpr std::string_view kUnknownCode = "SLBEU0331";
inline constexpr std::string_view kUnknownObject = "SLBEU0373";
inline constexpr std::string_view kBadNumber = "SLBEU0422";

// --- Captions of record numbers -------------------------------------------------------------
inline constexpr std::string_view kServiceOrder = "SLBEU0000";
inline constexpr std::string_view kActivity = "SLBEU0279";
// "Activity" under another key, on the entry forms.
inline constexpr std::string_view kActivityNumber = "SLBEU0041";
inline constexpr std::string_view kActivityDescription = "SLBEU0006";
inline constexpr std::string_view kLine = "SLBEU0042";

// --- Agenda and lists -----------------------------------------------------------------------
inline constexpr std::string_view kMyActivities = "SLBEU0232";
inline constexpr std::string_view kCompletedOrders = "SLBEU0237";
inline constexpr std::string_view kClosedOrders = "SLBEU0238";
inline constexpr std::string_view kNoActivities = "SLBEU0262";
inline constexpr std::string_view kNoOrders = "SLBEU0263";
inline constexpr std::string_view kServiceOrders = "SLBEU0302";
inline constexpr std::string_view kNoServiceOrders = "SLBEU0303";
inline constexpr std::string_view kInvalidWorkingMode = "SLBEU0300";
// "There are no " (the list's title follows).
inline constexpr std::string_view kThereAreNo = "SLBEU0301";

// --- Cost lines and hours registrations -----------------------------------------------------
inline constexpr std::string_view kMaterialCostLines = "SLBEU0297";
inline constexpr std::string_view kLaborCostLines = "SLBEU0298";
inline constexpr std::string_view kOtherCostLines = "SLBEU0299";
inline constexpr std::string_view kAddCostLine = "SLBEU0314";
inline constexpr std::string_view kNoCostLinesOfType = "SLBEU0315";
inline constexpr std::string_view kCostLines = "SLBEU0316";
inline constexpr std::string_view kCostType = "SLBEU0093";
inline constexpr std::string_view kSelectCostType = "SLBEU0317";
inline constexpr std::string_view kMaterial = "SLBEU0318";
inline constexpr std::string_view kLabor = "SLBEU0319";
inline constexpr std::string_view kOther = "SLBEU0320";
inline constexpr std::string_view kHoursRegistrations = "SLBEU0332";

// --- Detail views and entry forms -----------------------------------------------------------
inline constexpr std::string_view kOrderDetails = "SLBEU0277";
inline constexpr std::string_view kActivityDetails = "SLBEU0278";
inline constexpr std::string_view kMaterialLineDetails = "SLBEU0280";
inline constexpr std::string_view kLaborLineDetails = "SLBEU0281";
inline constexpr std::string_view kOtherLineDetails = "SLBEU0283";
inline constexpr std::string_view kNewServiceOrder = "SLBEU0286";
inline constexpr std::string_view kNewActivity = "SLBEU0287";
// "New Activity" under another key, on the detail view's link.
inline constexpr std::string_view kNewActivityLink = "SLBEU0273";
inline constexpr std::string_view kNewMaterialLine = "SLBEU0270";
inline constexpr std::string_view kNewLaborLine = "SLBEU0271";
inline constexpr std::string_view kNewOtherLine = "SLBEU0272";
inline constexpr std::string_view kMaterialLines = "SLBEU0274";
inline constexpr std::string_view kLaborLines = "SLBEU0275";
inline constexpr std::string_view kOtherLines = "SLBEU0276";
inline constexpr std::string_view kDelete = "SLBEU0282";
inline constexpr std::string_view kSave = "SLBEU0284";
inline constexpr std::string_view kNew = "SLBEU0285";
inline constexpr std::string_view kHoursRegistration = "SLBEU0333";
inline constexpr std::string_view kNewHoursRegistration = "SLBEU0334";
inline constexpr std::string_view kNewHoursRegistrationLink = "SLBSE9163";
inline constexpr std::string_view kRegistrationOrder = "SLBSE9170";
inline constexpr std::string_view kRegistrationActivity = "SLBSE9172";

// --- Error pool -----------------------------------------------------------------------------
inline constexpr std::string_view kReportNotXml = "SLBEU0288";
inline constexpr std::string_view kReportNotLoaded = "SLBEU0289";
inline constexpr std::string_view kUploadErrorsLink = "SLBEU0290";
inline constexpr std::string_view kUploadErrors = "SLBEU0291";
inline constexpr std::string_view kMessage = "SLBEU0096";
inline constexpr std::string_view kRecord = "SLBEU0294";
inline constexpr std::string_view kMaterialLine = "SLBEU0295";
inline constexpr std::string_view kLaborLine = "SLBEU0296";
inline constexpr std::string_view kOtherCostLine = "SLBEU0094";

// --- Master data ----------------------------------------------------------------------------
inline constexpr std::string_view kLookupDetails = "SLBEU0304";
inline constexpr std::string_view kLookupSelect = "SLBEU0305";
inline constexpr std::string_view kNoMatchingRecords = "SLBEU0306";
inline constexpr std::string_view kDatabaseNotFound = "SLBEU0308";
inline constexpr std::string_view kDownloadMasterDataFirst = "SLBEU0309";
inline constexpr std::string_view kMasterDataFileNotFound = "SLBEU0310";
inline constexpr std::string_view kInTheFolder = "SLBEU0311";
inline constexpr std::string_view kDownloadMasterDataAgain = "SLBEU0312";
inline constexpr std::string_view kMasterDataInstallation = "SLBEU0313";
inline constexpr std::string_view kMasterData = "SLBUE9150";

// Titles of the master-data listings, one per table.
inline constexpr std::string_view kServiceItems = "SLBEU0195";
inline constexpr std::string_view kServiceTypes = "SLBEU0193";
inline constexpr std::string_view kServiceKits = "SLBEU0203";
inline constexpr std::string_view kServiceCars = "SLBEU9199";
inline constexpr std::string_view kServiceCenters = "SLBEU9200";
inline constexpr std::string_view kTasks = "SLBEU0307";
inline constexpr std::string_view kHourlyLaborTypes = "SLBEU9137";
inline constexpr std::string_view kReferenceActivities = "SLBEU0197";
inline constexpr std::string_view kConfigurations = "SLBUE9216";
inline constexpr std::string_view kProblems = "SLBUE9217";
inline constexpr std::string_view kSolutions = "SLBUE9218";
inline constexpr std::string_view kAddresses = "SLBUE9206";
inline constexpr std::string_view kWarehouses = "SLBUE9215";
inline constexpr std::string_view kUnits = "SLBUE9171";
inline constexpr std::string_view kReasons = "SLBUE9213";
inline constexpr std::string_view kCostComponents = "SLBUE9211";
inline constexpr std::string_view kServiceAreas = "SLBUE9198";
inline constexpr std::string_view kContacts = "SLBUE9208";
inline constexpr std::string_view kPriorities = "SLBUE9212";
inline constexpr std::string_view kObjects = "SLBUE9191";

}  // namespace quillmere::label
