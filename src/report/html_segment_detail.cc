// The judges' details page: for every placed performance its summary, its
// executed elements with each judge's grade and its program components with
// each judge's mark, its deductions and its majority deductions.  The page
// always has the complete frame and fixed column widths, so the blocks line
// up at 700 pixels.
#include <algorithm>
#include <cstdlib>

#include "base/failure_record.h"
#include "event/field_number.h"
#include "event/performance.h"
#include "event/segment.h"
#include "report/html.h"
#include "report/html_escape.h"

namespace tav {
namespace {

// Judges' marks held per element and component.
constexpr int kMarks = kJudgeCount;

// A score as the record holds it, in hundredths: written with a decimal
// point it is points, without one a count of hundredths.  The usual forms
// ("-1.5", "3.20", "350") are read digit by digit, exactly; anything else
// goes through strtod, rounded half away from zero.
long long hundredths(const std::string& text) {
  std::size_t i = text.empty() || (text[0] != '-' && text[0] != '+') ? 0 : 1;
  const bool negative = i == 1 && text[0] == '-';
  long long whole = 0;
  int digits = 0;
  int decimals = -1;  // none: no decimal point
  for (; i < text.size() && digits <= 15; ++i) {
    const char c = text[i];
    if (c >= '0' && c <= '9' && decimals < 2) {
      whole = whole * 10 + (c - '0');
      ++digits;
      if (decimals >= 0) ++decimals;
    } else if (c == '.' && decimals < 0) {
      decimals = 0;
    } else {
      break;
    }
  }
  if (i == text.size() && digits > 0 && digits <= 15) {
    for (int d = std::max(decimals, 0); decimals >= 0 && d < 2; ++d) whole *= 10;
    return negative ? -whole : whole;
  }
  const bool points = text.find('.') != std::string::npos;
  double value = std::strtod(text.c_str(), nullptr);
  return static_cast<long long>(points ? value * 100.0 + (value < 0 ? -0.5 : 0.5)
                                       : value);
}

std::string judgeLabel(int judge, int numJudges) {
  if (judge < 9) return "&nbsp;J" + std::to_string(judge + 1);
  return numJudges >= 10 ? "&nbsp;J10" : "&nbsp;";
}

}  // namespace

// The segment's settings that every block of the page uses.
struct CHtml::DetailSettings {
  DeductionFactors deductions{};
  ComponentFactors components{};
  int numJudges = 0;
  std::vector<std::string> longNames;
  std::vector<std::string> shortNames;
  int generalFactor = 0;
  MajorDeductionNames majorNames;
  std::vector<std::string> deductionNames;
};

bool CHtml::segDetail(const CSegment& segment, const std::string& catName, char catType) {
  CallTrace trace("CHtml.segDetail");
  std::string base;
  std::string file;
  std::string name;
  SegmentResults results;
  if (!segment.getOutFileBaseName(1, prefix_, &base) || !createOutFileName(false, base, &file) ||
      !startPage(file) || !segment.getHtmlName(options_.tvNameFlag, &name) ||
      !segment.sortResults(&results)) {
    return false;
  }
  header(true, segment.id() == options_.activeSeg ? 30 : 0);
  out_.openLine("BODY", "BGCOLOR=" + rowColor_);
  nameDate();
  out_.element("H2", htmlEscape(catName));
  out_.element("H2", htmlEscape(name));
  out_.element("H3", "Judges' Details");
  DetailSettings settings;
  int first = -1;
  int second = -1;
  int third = -1;
  if (!segment.getValidDedIndexes(&settings.deductions) ||
      !segment.getValidCompIndexes(false, &settings.components) ||
      !segment.getNumJdg(&settings.numJudges) ||
      !segment.getCompNames(settings.components, &settings.longNames, &settings.shortNames) ||
      !segment.getGenCompFactor(&settings.generalFactor) ||
      !segment.getMajDedIndexes(&first, &second, &third) ||
      !segment.getMajDedNames(first, second, third, &settings.majorNames) ||
      !segment.getDedNames(settings.deductions, &settings.deductionNames)) {
    return false;
  }
  for (const auto& entry : results.placed) {
    if (!detailBlock(segment, *entry.second, catType, settings)) return false;
  }
  footer(false);
  if (!finishPage()) return false;
  return trace.succeed();
}

bool CHtml::detailBlock(const CSegment& segment, const CPerformance& performance, char catType,
                        const DetailSettings& settings) {
  std::string name;
  std::string club;
  std::string nation;
  ScoreSummary score;
  std::vector<ElementDetail> elements;
  std::vector<float> deductions;
  if (!performance.getParNameClub(&name, &club) ||
      (options_.includeNation && !performance.getParNation(&nation)) ||
      !performance.getScoreSummaryInt(&score) ||
      !performance.getElmScoreDetail(false, false, &elements) ||
      !segment.getDedScores(settings.deductions, performance, &deductions)) {
    return false;
  }
  // Summed in order, as the segment's deduction total is.
  float deductionTotal = 0;
  for (float p : deductions) deductionTotal += p;
  const bool nameAlone = catType == 'P' || catType == 'D' ||
                         name.find(',') != std::string::npos || club.empty();
  const std::string displayName = nameAlone ? name : name + ", " + club;

  // Summary table.
  out_.comment("Summary table");
  out_.openLine("TABLE", "BORDER=1 ", "WIDTH=700");
  out_.openLine("THEAD");
  out_.openLine("TR");
  out_.element("TH", "WIDTH=40  ALIGN=CENTER style=vertical-align:bottom", "Place<BR>&nbsp;");
  out_.element("TH", "WIDTH=400 ALIGN=LEFT   style=vertical-align:bottom", "Name<BR>&nbsp;");
  out_.element("TH", "WIDTH=45  ALIGN=CENTER style=vertical-align:bottom", "Nation<BR>&nbsp;");
  out_.element("TH", "WIDTH=55  ALIGN=CENTER", "Total<BR>Seg<BR>Score<BR>=");
  out_.element("TH", "WIDTH=50  ALIGN=CENTER", "Total<BR>Elm<BR>Score<BR>+");
  out_.element("TH", "WIDTH=50  ALIGN=CENTER", "Total<BR>Comp<BR>Score<BR>+");
  out_.element("TH", "WIDTH=60  ALIGN=CENTER style=vertical-align:bottom", "Deductions<BR>-");
  out_.close("TR");
  out_.close("THEAD");
  out_.openLine("TBODY");
  out_.openLine("TR");
  const char kCenter15[] = "ALIGN=CENTER style=font-size:15px";
  out_.elementInt("TD", "ALIGN=CENTER style=font-size:16px", score.place);
  out_.element("TD", "ALIGN=LEFT   style=font-size:15px", htmlEscape(displayName));
  out_.element("TD", kCenter15, htmlEscape(nation));
  out_.element("TD", kCenter15, NumberText::points(score.points));
  out_.element("TD", kCenter15, NumberText::points(score.elements));
  out_.element("TD", kCenter15, NumberText::points(score.components));
  out_.element("TD", kCenter15, fixedNumber(deductionTotal, 2));
  out_.close("TR");
  out_.close("TBODY");
  out_.close("TABLE");

  if (!elementsTable(performance, catType, elements, settings)) return false;
  std::vector<std::string> listed;
  deductionTable(deductions, deductionTotal, settings, &listed);
  if (!majorityTable(performance, settings, listed)) return false;
  out_.line("<HR style=margin:30px />");
  return true;
}

void CHtml::th(const char* width, const char* align, std::string_view content) {
  out_.open("TH", width, align);
  out_.text(content);
  out_.close("TH");
}

bool CHtml::elementsTable(const CPerformance& performance, char catType,
                          const std::vector<ElementDetail>& elements,
                          const DetailSettings& settings) {
  const int judges = std::min(settings.numJudges, kMarks);
  out_.comment("Elements and components table");
  out_.openLine("TABLE", "BORDER=1 ", "WIDTH=700");
  out_.openLine("TR");
  th("WIDTH=20  ", "ALIGN=CENTER", "#");
  th("WIDTH=140 ", "ALIGN=LEFT", "Executed<BR>Elements");
  th("WIDTH=20  ", "ALIGN=CENTER", "");
  th("WIDTH=35  ", "ALIGN=RIGHT", "Base<BR>Value");
  th("WIDTH=10  ", "ALIGN=CENTER", "");
  th("WIDTH=35  ", "ALIGN=RIGHT", "GOE");
  th("WIDTH=40  ", "ALIGN=RIGHT", catType == 'T' ? "Elm.<BR>Ded." : "");
  for (int j = 0; j < kMarks; ++j) th("WIDTH=30  ", "ALIGN=CENTER", judgeLabel(j, settings.numJudges));
  th("WIDTH=63  ", "ALIGN=CENTER", "&nbsp;");
  th("WIDTH=34  ", "ALIGN=RIGHT", "Panel<BR>Scores");
  th("WIDTH=3   ", "ALIGN=CENTER", "&nbsp;");
  out_.close("TR");

  long long baseSum = 0;
  long long panelSum = 0;
  int number = 0;
  for (const ElementDetail& element : elements) {
    const long long baseValue = hundredths(element.baseValue);
    const long long deduction = hundredths(element.deduction);
    const long long panelScore = hundredths(element.result);
    out_.openLine("TR");
    out_.elementInt("TD", "ALIGN=CENTER", ++number);
    out_.element("TD", "ALIGN=LEFT", htmlEscape(element.name));
    out_.element("TD", "ALIGN=CENTER", htmlEscape(element.info));
    out_.element("TD", "ALIGN=RIGHT", NumberText::points(baseValue));
    // "x": the base value carries the second-half bonus.
    out_.element("TD", "ALIGN=CENTER", decimalInt(element.half) == 1 ? "x" : "");
    out_.element("TD", "ALIGN=RIGHT", NumberText::points(hundredths(element.panel)));
    out_.element("TD", "ALIGN=RIGHT",
                 catType == 'T' && deduction != 0 ? pointsText(-deduction) : "");
    for (int j = 0; j < kMarks; ++j) {
      // "&nbsp;" and the grade, "-" or nothing.
      char mark[32] = "&nbsp;";
      std::size_t size = 6;
      if (baseValue == 0) {
        if (j < judges) mark[size++] = '-';
      } else if (element.grades[j] != 9) {
        const NumberText grade = NumberText::integer(element.grades[j] - 4);
        grade.view().copy(mark + size, grade.view().size());
        size += grade.view().size();
      }
      out_.element("TD", "ALIGN=CENTER", std::string_view(mark, size));
    }
    out_.element("TD", "ALIGN=CENTER", "");
    out_.element("TD", "ALIGN=RIGHT", NumberText::points(panelScore));
    baseSum += baseValue;
    panelSum += panelScore;
    out_.close("TR");
  }
  out_.openLine("TR");
  out_.element("TD", "");
  out_.element("TD", "COLSPAN=2 ALIGN=RIGHT", "Total BV:");
  out_.element("TD", "ALIGN=RIGHT", NumberText::points(baseSum));
  for (int i = 0; i < 11; ++i) out_.element("TD", "");
  out_.element("TD", "COLSPAN=3 ALIGN=RIGHT", "Total elm. score:");
  out_.element("TD", "ALIGN=RIGHT", NumberText::points(panelSum));
  out_.close("TR");

  out_.openLine("TR");
  out_.element("TD", "");
  out_.element("TD", "ALIGN=LEFT", "<B>Program Components</B>");
  for (int i = 0; i < 3; ++i) out_.element("TD", "");
  out_.element("TD", "ALIGN=RIGHT", "<B>Factor</B>");
  out_.close("TR");
  long long factoredSum = 0;
  for (int c = 0; c < kComponentCount; ++c) {
    if (settings.components[c] == 0) continue;
    std::vector<std::string> marks;
    int panel = 0;
    int result = 0;
    if (!performance.getCompScoreDetail(c, &marks) ||
        !performance.getCompScoreSummaryInt(c, &panel, &result)) {
      return false;
    }
    out_.openLine("TR");
    out_.element("TD", "");
    out_.element("TD", "COLSPAN=3 ALIGN=LEFT", htmlEscape(settings.longNames[c]));
    out_.element("TD", "");
    out_.element("TD", "ALIGN=RIGHT", NumberText::points(settings.components[c]));
    out_.element("TD", "ALIGN=RIGHT", "");
    for (const std::string& mark : marks) {
      if (decimalInt(mark) == -9) {
        out_.element("TD", "&nbsp;");
      } else {
        out_.element("TD", "ALIGN=RIGHT", NumberText::points(hundredths(mark)));
      }
    }
    out_.element("TD", "");
    out_.element("TD", "ALIGN=RIGHT", NumberText::points(panel));
    factoredSum += result;
    out_.close("TR");
  }
  out_.openLine("TR");
  out_.element("TD", "");
  out_.element("TD", "COLSPAN=3 ALIGN=RIGHT", "General Component Factor:");
  out_.element("TD", "");
  out_.element("TD", fixedNumber(settings.generalFactor / 10.0, 1));
  for (int i = 0; i < 7; ++i) out_.element("TD", "");
  out_.element("TD", "COLSPAN=5 ALIGN=RIGHT", "Total factored comp. score:");
  out_.element("TD", "ALIGN=RIGHT", NumberText::points(factoredSum));
  out_.close("TR");
  out_.close("TABLE");
  return true;
}

void CHtml::deductionTable(const std::vector<float>& points, float sum,
                           const DetailSettings& settings, std::vector<std::string>* listed) {
  out_.comment("Deduction table");
  out_.openLine("TABLE", "BORDER=1 ", "WIDTH=700");
  out_.openLine("TR");
  th("WIDTH=69  ", "ALIGN=LEFT", "Deductions");
  for (int i = 0; i < 3; ++i) {
    th("WIDTH=162 ", "ALIGN=RIGHT", "");
    th("WIDTH=35  ", "ALIGN=RIGHT", "");
  }
  th("WIDTH=37  ", "ALIGN=RIGHT", fixedNumber(-sum, 2));
  th("WIDTH=3   ", "ALIGN=RIGHT", "");
  out_.close("TR");
  if (sum > 0) {
    int inRow = 0;
    for (std::size_t i = 0; i < points.size() && i < settings.deductionNames.size(); ++i) {
      if (points[i] == 0) continue;
      if (inRow == 0) {
        out_.openLine("TR");
        out_.element("TD", "ALIGN=CENTER", "");
      }
      out_.element("TD", "ALIGN=RIGHT", htmlEscape(settings.deductionNames[i]) + "<B>:</B>");
      out_.element("TD", "ALIGN=CENTER", fixedNumber(-points[i], 2));
      listed->push_back(settings.deductionNames[i]);
      if (++inRow == 3) {
        out_.close("TR");
        inRow = 0;
      }
    }
    if (inRow != 0) out_.close("TR");
  }
  out_.close("TABLE");
}

bool CHtml::majorityTable(const CPerformance& performance, const DetailSettings& settings,
                          const std::vector<std::string>& listed) {
  std::vector<MajorDeduction> records;
  if (!performance.getMajDedData(&records)) return false;
  out_.comment("Majority deduction table");
  out_.openLine("TABLE", "BORDER=1 ", "WIDTH=700");
  out_.openLine("TR");
  th("WIDTH=300  ", "ALIGN=LEFT", "Majority deductions");
  const bool any = std::any_of(settings.majorNames.begin(), settings.majorNames.end(),
                               [](const std::vector<std::string>& names) { return !names.empty(); });
  if (any) {
    for (int j = 0; j < kMarks; ++j) th("WIDTH=30 ", "ALIGN=CENTER", judgeLabel(j, settings.numJudges));
    th("WIDTH=30 ", "ALIGN=CENTER", "&nbsp;REF");
    th("WIDTH=60 ", "ALIGN=CENTER", "");
  }
  out_.close("TR");
  for (std::size_t k = 0; k < records.size() && k < settings.majorNames.size(); ++k) {
    const std::vector<std::string>& group = settings.majorNames[k];
    if (group.empty() || group[0].empty()) continue;
    const bool deducted = std::any_of(listed.begin(), listed.end(), [&](const std::string& n) {
      return std::find(group.begin(), group.end(), n) != group.end();
    });
    if (!deducted) continue;
    out_.openLine("TR");
    out_.element("TD", htmlEscape(group[0]));
    for (int j = 0; j < kMarks; ++j) {
      const int vote = records[k].votes[j];
      if (vote == -99 || (j == 9 && settings.numJudges < 10)) {
        out_.element("TD", "&nbsp;");
      } else {
        out_.element("TD", "ALIGN=RIGHT", NumberText::points(vote));
      }
    }
    const int referee = records[k].position15;
    out_.element("TD", referee == -99 ? "&nbsp;" : pointsText(referee));
    out_.element("TD", "");
    out_.close("TR");
  }
  out_.close("TABLE");
  return true;
}

}  // namespace tav
