#!/usr/bin/env bash
# Shows that the tests catch faults: applies deliberate breaks to the sources
# one at a time, builds and runs the tests that guard the broken code, restores
# the source and counts the breaks the tests caught. A break that no longer
# applies (its text is gone from the source) fails the run: the list below is
# kept with the code. Builds in build-mutants/, apart from the test builds.
# Usage: mutants.sh [--check] [label filter (an extended regex on the labels)]
#   --check only looks whether every break still applies, building nothing.
# Exit status 0 when at least 9 in 10 breaks were caught.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

check_only=false
if [[ "${1:-}" == --check ]]; then
    check_only=true
    shift
fi
filter="${1:-.}"
build="$root/build-mutants"
labels=() files=() froms=() tos=() tests=()

# mutant <label> <file below src/> <text> <replacement> <test programs>
mutant()
{
    labels+=("$1") files+=("$2") froms+=("$3") tos+=("$4") tests+=("$5")
}

# ---------------------------------------------------------------- store
mutant "store: Val reads &HFFFF as 65535" store/Numbers.cpp \
    'if (bits <= 16 && value >= 0x8000' 'if (bits < 16 && value >= 0x8000' tst_numbers
mutant "store: a decimal point read as a decimal mark" store/tempModule.cpp \
    "else if (c != QLatin1Char('.'))" "else" "tst_numbers tst_printdialogs"
mutant "store: CSV separator never a comma" store/Csv.cpp \
    "return commas > semicolons ? QLatin1Char(',') : QLatin1Char(';');" "return QLatin1Char(';');" "tst_csv tst_masterlist"
mutant "store: CSV byte order mark kept" store/Csv.cpp \
    'if (body.startsWith("\xEF\xBB\xBF")) {' 'if (false) {' "tst_csv tst_masterlist"
mutant "store: CSV field with a quote written bare" store/Csv.cpp \
    '|| c == Quote || isLineEnd(c))' '|| isLineEnd(c))' "tst_csv tst_filecommands"
mutant "store: ß sorts as s" store/TextOrder.cpp \
    "return {U's', U's'};" "return {U's', 0};" "tst_textcompare"
mutant "store: letters compared the wrong way round" store/TextOrder.cpp \
    'return x < y ? -1 : 1;' 'return x < y ? 1 : -1;' "tst_textcompare tst_masterlist"
mutant "store: a doubled quote ends a criterion text" store/Criterion.cpp \
    "} else if (i + 1 < text.size() && text.at(i + 1) == QLatin1Char('\\''))" "} else if (false)" \
    "tst_textcompare tst_resultentry"
mutant "store: a transaction left unfinished commits" store/Database.cpp \
    $'        m_database.rollback();\n    } catch (const RingtalError &) {\n        // The failure that ended' \
    $'        m_database.commit();\n    } catch (const RingtalError &) {\n        // The failure that ended' \
    "tst_recordset tst_ranking"
mutant "store: a rollback leaves the undone writes in the rows of memory" store/Database.cpp \
    $'    ++m_writeSerial;\n    if (!m_db.rollback())' $'    if (!m_db.rollback())' "tst_recordset"
mutant "store: a new row's ID not read back" store/RecordsetStoring.cpp \
    'row[m_idField] = inserted.id;' ';' "tst_recordset tst_resultentry"
mutant "store: a row another program deleted looks stored" store/RecordsetStoring.cpp \
    'if (found.rows.empty())' 'if (found.rows.empty() && false)' "tst_recordset tst_sharedfile"
mutant "store: a row another program changed is overwritten" store/RecordsetStoring.cpp \
    'if (at >= 0 && !sameValue(inFile.at(at), read.at(i))) {' 'if (false) {' "tst_recordset tst_sharedfile"
mutant "store: a cut Access file read as whole" store/AccessFile.cpp \
    'if (result.rows.size() < table->num_rows)' 'if (false)' "tst_accessfile"
mutant "store: a competition's title not taken over" store/CompetitionTakeOver.cpp \
    'if (competition.rows.empty() || field < 0)' 'if (true)' "tst_accessfile tst_filecommands"
mutant "store: an import adds shooters the list has" store/ShooterImport.cpp \
    'if (keys.contains(shooterKey)) {' 'if (false) {' "tst_masterlist"
mutant "store: the error text without its number" store/ErrorProtocol.cpp \
    'QStringLiteral("Fehler: %1 - %2").arg(error.number())' 'QStringLiteral("Fehler:%1 - %2").arg(error.number())' \
    "tst_errorprotocol tst_resultentry tst_masterfile"

mutant "store: a server sorts empty sort keys before the others" store/ServerDatabase.cpp \
    'return descending ? QStringLiteral(" NULLS LAST") : QStringLiteral(" NULLS FIRST");' 'return QString();' "tst_serverstore"
mutant "store: another program's notice from the server not counted" store/ServerDatabase.cpp \
    'if (notice->be_pid != own)' 'if (false)' "tst_serverstore"
mutant "store: a new row's ID on a server not read back" store/ServerDatabase.cpp \
    'inserted.id = qint64(id.toLongLong());' ';' "tst_serverstore"
mutant "store: a competition copied onto a server numbers new rows from 1 again" store/ServerCompetitions.cpp \
    'continueNumbering(*server, location.competition, table);' ';' "tst_serverstore"
mutant "store: rows other programs stored while the server was away not read again" store/ServerDatabase.cpp \
    $'    ++m_othersVersion;\n    ++m_writeSerial;' '' "tst_serverstore"
mutant "store: a server is not told the types of a list of VALUES" store/ServerDatabase.cpp \
    'return QStringLiteral("CAST(? AS %1)").arg(serverTypeOf(declaredType));' 'return QStringLiteral("?");' "tst_serverstore"
mutant "store: a name quoted for a server as the template writes it" store/ServerDatabase.cpp \
    'return Database::quote(identifier.toLower());' 'return Database::quote(identifier);' "tst_serverstore"
# ---------------------------------------------------------------- scoring
mutant "scoring: 11 counts as a shot" scoring/ScoreComputation.cpp \
    'if (value > HighestShot || value < 0.0)' 'if (value > 11.0 || value < 0.0)' "tst_scorecomputation tst_resultentry"
mutant "scoring: halves rounded up, not to even" scoring/ScoreComputation.cpp \
    'return std::fmod(below, 2.0) == 0.0 ? below : below + 1.0;' 'return below + 1.0;' "tst_scorecomputation"
mutant "scoring: ones not counted in the key" scoring/TieRule.cpp \
    'for (int value = 10; value >= 1; --value)' 'for (int value = 10; value >= 2; --value)' "tst_scorecomputation tst_tierule"
mutant "scoring: the DSB rule compares inner tens before the counts" scoring/TieRule.cpp \
    'return totalField(serieText) + countFields(counts) + innerTensField(innerTensText);' \
    'return totalField(serieText) + innerTensField(innerTensText) + countFields(counts);' "tst_tierule"
mutant "scoring: tenths rounded to whole rings" scoring/TieRule.cpp \
    'std::llround(total * 10)' 'std::llround(total) * 10' "tst_tierule"
mutant "scoring: a rule change gives a key to a shooter who has not shot" scoring/TieRule.cpp \
    'if (before.toString().isEmpty()) {' 'if (false) {' "tst_tierule"
mutant "scoring: a renamed class leaves its shooters behind" scoring/Classes.cpp \
    'newNames.insert(def.name, *kept);' ';' "tst_classes"
mutant "scoring: a discipline class proposed to everybody" scoring/Classes.cpp \
    $'if (!byYear && !bySex)\n            continue;' ';' "tst_classes"
mutant "scoring: a team short of shooters gets a place" scoring/Teams.cpp \
    'forming.complete = forming.members.size() >= count;' 'forming.complete = true;' "tst_teams"
mutant "scoring: team names told apart by their letter case" scoring/Teams.cpp \
    'shooter->team.trimmed().toCaseFolded()' 'shooter->team.trimmed()' "tst_teams"
mutant "scoring: a team tie under the DSB rule decided by inner tens first" scoring/TieRule.cpp \
    'if (rule == TieRule::InnerTensFirst)
        order.push_back(innerTens);' 'if (rule != TieRule::Tenths)
        order.push_back(innerTens);' "tst_teams"
mutant "store: an upgrade gives the IDs of deleted shooters again" store/FileUpgrade.cpp \
    'if (!numbering.isNull())' 'if (false)' "tst_fileupgrade"
mutant "scoring: ties do not skip the next place" scoring/RankAssignment.cpp \
    '            place = position;' '            place = place + 1;' "tst_scorecomputation tst_ranking"
mutant "scoring: all zeros count as a result" scoring/RankAssignment.cpp \
    "if (c != QLatin1Char('0'))" "if (c != QLatin1Char(' '))" "tst_scorecomputation tst_ranking"
mutant "scoring: the group column ignored" scoring/Ranking.cpp \
    'const QString name = rows.storedValue(row, group).toString();' 'const QString name;' "tst_ranking"
mutant "scoring: places written outside a transaction" scoring/Ranking.cpp \
    'allOrNothing(rows.database(), [&] { rows.storeField(place, values); });' 'rows.storeField(place, values);' \
    "tst_ranking"

# ---------------------------------------------------------------- settings
mutant "settings: a colour's blue read from the red byte" settings/ColourValue.cpp \
    'value >> 16 & 0xFF}' 'value & 0xFF}' "tst_settingsformats tst_appearance"
mutant "settings: a width list's last single character read" settings/WidthList.cpp \
    'while (fields.size() - start >= 2) {' 'while (fields.size() - start >= 1) {' "tst_settingsformats"
mutant "settings: a stored window wider than its screen kept" settings/WindowPlacement.cpp \
    'if (outer.width() > screen.width()) {' 'if (false) {' "tst_windowplacement"
mutant "settings: a window off every screen left there" settings/WindowPlacement.cpp \
    'if (visibleArea(outer, screens) < VisibleShare * area(outer)) {' 'if (false) {' "tst_windowplacement"
mutant "settings: a font size written with its zeros" settings/FontEntry.cpp \
    "while (text.endsWith(QLatin1Char('0')) && text.contains(comma))" "while (false)" "tst_settingsformats tst_appearance"

# ---------------------------------------------------------------- grid
mutant "grid: no new-row line" grid/GridModel.cpp \
    'return m_allowAddNew && m_recordset && row == m_rowsShown - 1;' 'return false;' \
    "tst_resultentry tst_masterlist tst_printwinnerslist"
mutant "grid: rows added at the end announced one too many" grid/GridModel.cpp \
    'beginInsertRows({}, m_rowsShown, now - 1);' 'beginInsertRows({}, m_rowsShown, now);' "tst_resultentry"
mutant "grid: Tab stops at every column" grid/DataGrid.cpp \
    'const int step = forward ? 1 : -1;' 'const int step = forward ? 2 : -1;' "tst_resultentry"
mutant "grid: typed values given up without asking" grid/DataGridStoring.cpp \
    'if (!rs || !rs->isDirty())' 'if (true)' "tst_resultentry"
mutant "grid: column widths not restored" grid/GridSettings.cpp \
    'grid.columns(int(i)).setWidth(std::max(0.0, widths[i]));' ';' "tst_appearance tst_startclose"

mutant "grid: the cell typed in is closed when other programs' rows come" grid/DataGridStoring.cpp \
    '        edit(again);' '        ;' "tst_sharedfile"
mutant "grid: a cell typed in reopens on the row it was on before the others' rows" grid/DataGridStoring.cpp \
    'viewRow = m_model->viewRow(newLine ? rs->rowCount() : rowOfId(id, row));' 'viewRow = cell.row();' "tst_sharedfile"
# ---------------------------------------------------------------- printing
mutant "printing: columns wider than the page not scaled" printing/PageLayout.cpp \
    'm_scale = total > m_input.areaWidth ? m_input.areaWidth / total : 1.0;' 'm_scale = 1.0;' \
    "tst_pagelayout tst_printwinnerslist"
mutant "printing: one row fewer per page" printing/PageLayout.cpp \
    'const int fits = int(std::floor(room / m_input.rowHeight + Tolerance));' \
    'const int fits = int(std::floor(room / m_input.rowHeight + Tolerance)) - 1;' "tst_pagelayout tst_printwinnerslist"
mutant "printing: column headings only on the first page" printing/PageLayout.cpp \
    'page.headings = first || m_input.repeatColumnHeaders;' 'page.headings = first;' \
    "tst_pagelayout tst_printwinnerslist"
mutant "printing: \\P prints the page number" printing/PageText.cpp \
    'result += QString::number(pageCount);' 'result += QString::number(page);' "tst_pagelayout tst_printwinnerslist"
mutant "printing: a footer's right part printed in the centre" printing/PageText.cpp \
    'QString &target = result[size_t(std::min(i, 2))];' 'QString &target = result[size_t(std::min(i, 1))];' \
    "tst_pagelayout tst_printwinnerslist"
mutant "printing: hidden columns printed" printing/PrintTable.cpp \
    'if (logical < 0 || grid.isColumnHidden(logical))' 'if (logical < 0)' "tst_printwinnerslist"
mutant "grid: a layout of an earlier version hides the class" grid/GridSettings.cpp \
    'const std::vector<int> later = laterColumns(grid, pieces.size());' 'const std::vector<int> later;' \
    "tst_competitionrules"
mutant "grid: widths of an earlier version given to the column beside" grid/GridSettings.cpp \
    'const std::vector<int> later = laterColumns(grid, qsizetype(widths.size()));' 'const std::vector<int> later;' \
    "tst_competitionrules"
mutant "grid: a layout of the version with classes hides the team" grid/GridSettings.cpp \
    'for (size_t since = 0; since < LaterFields.size(); ++since) {' 'for (size_t since = 0; since < 1; ++since) {' \
    "tst_competitionrules"
mutant "grid: the winners list not grouped by class" grid/GridModel.cpp \
    'if (lines.size() == size_t(classOfRows.size()))' 'if (true)' "tst_competitionrules"
mutant "printing: no new page for each class" printing/PageLayout.cpp \
    'if (m_input.newPagePerHeading && next' 'if (false && next' "tst_pagelayout tst_competitionrules"
mutant "printing: a class heading left at the foot of a page" printing/PageLayout.cpp \
    'if (page.rowCount > 1 && last + 1 < m_input.rowCount' 'if (false && last + 1 < m_input.rowCount' \
    "tst_pagelayout tst_printwinnerslist"
mutant "mainwindow: other programs' rows shown only when the window is activated" mainwindow/frmMain.cpp \
    '    tmrAndereProgramme->start();' '' "tst_sharedfile"
mutant "mainwindow: a row the server did not take waits for the user when it is back" mainwindow/frmMain.cpp \
    $'                m_retryStore = true;\n' '' "tst_servercompetition"
mutant "mainwindow: a password asked for is not kept for the next connection" widgets/PasswordPrompt.cpp \
    'ServerPasswords::remember(login, *password);' ';' "tst_servercompetition"
mutant "mainwindow: F5 ranks the rows it holds without holding the table" mainwindow/frmMainEntries.cpp \
    'rs->database().lockForWriting(QStringLiteral("Ergebnisse"));' ';' "tst_servercompetition"
mutant "mainwindow: a lasting failure of the look for other programs' rows told at every look" mainwindow/frmMain.cpp \
    'if (!asked && what == m_lookFailure)' 'if (false)' "tst_sharedfile"
mutant "mainwindow: a new class taken unasked" mainwindow/frmMainClasses.cpp \
    'if (answer != Dialogs::Answer::Yes) {' 'if (false) {' "tst_competitionrules"
mutant "mainwindow: a shooter taken over gets no class proposed" mainwindow/frmMainEntries.cpp \
    'const QString proposedClass = Classes::proposed(m_classes, birthYear, sex);' 'const QString proposedClass;' \
    "tst_competitionrules"
mutant "masterlist: a list of an earlier version not given birth year and sex" masterlist/frmGesamt.cpp \
    'FileUpgrade::upgradeMasterList(*database);' ';' "tst_competitionrules"
mutant "masterlist: the birth year not handed over" masterlist/frmGesamtCommands.cpp \
    'm_handOver(text, field(QStringLiteral("Jahrgang"))' 'm_handOver(text, QVariant()' "tst_competitionrules"
mutant "printing: an unused class column printed" printing/PrintTable.cpp \
    'if (!column.printedWhenEmpty && !anyValue(model, column))' 'if (false)' "tst_filecommands tst_printwinnerslist"
mutant "scoring: the shots not counted for a team's tie" scoring/Teams.cpp \
    '++shooter.counts[size_t(counted)];' 'shooter.counts[size_t(counted)] += 0;' "tst_teams"
mutant "scoring: teams not in the class list's order" scoring/Teams.cpp \
    'for (const Classes::Line &line : Classes::arrange(classOfRows, classes)) {' \
    'for (const Classes::Line &line : Classes::arrange(classOfRows, {})) {' "tst_teams"
mutant "printing: the counted shooters not listed under their team" printing/TeamList.cpp \
    'for (const int row : team.counted) {' 'for (const int row : std::vector<int>()) {' "tst_competitionrules"
mutant "mainwindow: the team tab prints the winners list" mainwindow/frmMainPrinting.cpp \
    'teams ? PrintTeamList(2) : PrintWinnersList(2);' 'PrintWinnersList(2);' "tst_competitionrules"
mutant "mainwindow: the number of counted shooters not stored" mainwindow/frmMainClasses.cpp \
    'Teams::storeCounted(*Data1->database(), counted.value);' ';' "tst_competitionrules"

# ---------------------------------------------------------------- certificates
mutant "certificates: the last place of the selection left out" mainwindow/frmMainCertificates.cpp \
    'if (shooters && place >= 1 && place <= places)' 'if (shooters && place >= 1 && place < places)' "tst_certificates"
mutant "certificates: a line too wide for a long name printed cut" certificates/CertificatePages.cpp \
    'if (shaped(index, CertificateFields::fill(line.text, certificate)).width > room + Slack)' 'if (false)' \
    "tst_certificates"
mutant "certificates: a team of two clubs named after its best shooter's" mainwindow/frmMainCertificates.cpp \
    'if (at > 0 && own.compare(club, Qt::CaseInsensitive) != 0)' 'if (false)' "tst_certificates"
mutant "certificates: landscape paper measured as portrait" settings/CertificateLayout.cpp \
    'return landscape ? portrait.transposed() : portrait;' 'return portrait;' "tst_certificates tst_certificatelayout"
mutant "certificates: the picture's bytes left out of the layout text" settings/CertificateLayout.cpp \
    '{QStringLiteral("Daten"), QString::fromLatin1(picture.bytes.toBase64())},' '{QStringLiteral("Daten"), QString()},' \
    "tst_certificatelayout tst_certificates"

# ---------------------------------------------------------------- the run
applies()
{
    local text
    text="$(cat "$root/src/${files[$1]}"; echo x)"
    [[ "${text%x}" == *"${froms[$1]}"* ]]
}

if $check_only; then
    stale=0
    for current in "${!labels[@]}"; do
        if ! applies "$current"; then
            echo "ringtal: the break \"${labels[$current]}\" no longer applies: its text is not in src/${files[$current]}"
            stale=$((stale + 1))
        fi
    done
    (( stale == 0 )) || exit 1
    echo "ringtal: all ${#labels[@]} deliberate breaks apply to the sources"
    exit 0
fi

# shellcheck source=scripts/setup.sh
source "$root/scripts/setup.sh"
[[ -f "$build/CMakeCache.txt" ]] || echo "ringtal: building $build once (a few minutes)"
ringtal_build "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DRINGTAL_WERROR=OFF -DRINGTAL_SANITIZE=OFF \
    -DRINGTAL_BENCH=OFF >/dev/null || ringtal_fail "the unbroken sources do not build in $build"

home="$(mktemp -d)"
mkdir -p "$home/config" "$home/data" "$home/cache" "$home/runtime"
chmod 700 "$home/runtime"
export XDG_CONFIG_HOME="$home/config" XDG_DATA_HOME="$home/data" XDG_CACHE_HOME="$home/cache"
export XDG_RUNTIME_DIR="$home/runtime"

original=""
restore()
{
    if [[ -n "$original" ]]; then
        # A fresh time stamp makes the next build compile the restored source again.
        cat "$original" > "$root/src/${files[$current]}"
        rm -f "$original"
        original=""
    fi
}
trap 'restore; rm -rf "$home"' EXIT
trap 'exit 130' INT TERM

tried=0 caught=0 missed=() stale=()
for current in "${!labels[@]}"; do
    label="${labels[$current]}"
    [[ "$label" =~ $filter ]] || continue
    source_file="$root/src/${files[$current]}"
    text="$(cat "$source_file"; echo x)"
    text="${text%x}"
    if ! applies "$current"; then
        stale+=("$label: its text is not in src/${files[$current]}")
        continue
    fi
    original="$(mktemp)"
    cp "$source_file" "$original"
    printf '%s' "${text/"${froms[$current]}"/"${tos[$current]}"}" > "$source_file"
    read -ra programs <<<"${tests[$current]}"
    result="missed"
    if ! cmake --build "$build" --target "${programs[@]}" >"$build/mutant.log" 2>&1; then
        restore
        stale+=("$label: the broken source does not build (see $build/mutant.log)")
        continue
    fi
    tried=$((tried + 1))
    if ! ctest --test-dir "$build" --timeout 120 -R "/($(IFS='|'; echo "${programs[*]}"))\$" \
            >>"$build/mutant.log" 2>&1; then
        result="caught"
    fi
    restore
    if [[ "$result" == missed ]]; then
        missed+=("$label")
    else
        caught=$((caught + 1))
    fi
    printf '%-3d %-60s %s\n' "$tried" "$label" "$result"
done
# The objects of the last break are rebuilt from the restored sources.
cmake --build "$build" >/dev/null 2>&1 || true

for reason in "${stale[@]}"; do
    echo "ringtal: a break to mend: $reason"
done
for label in "${missed[@]}"; do
    echo "ringtal: not caught: $label"
done
echo "ringtal: $caught of $tried deliberate breaks caught"
(( ${#stale[@]} == 0 )) || exit 1
(( tried > 0 && caught * 10 >= tried * 9 ))
