#include "preview/naming_engine.h"

#include "naming/new_name.h"
#include "naming/numbers.h"
#include "platform/module1.h"

namespace quillet {

namespace {
// From here down every checked row keeps the same number.
constexpr std::int64_t kStillCounter = -999;
}  // namespace

NamingEngine::NamingEngine(Form1& form, ProgramState& state, FileSystem& files)
    : m_form(form), m_state(state), m_files(files), m_marks(files) {}

void NamingEngine::Text_Change() {
    if (m_state.SuppressNaming) return;
    if (m_form.Check6.value() == 0) {
        namingPass();
    } else {
        attributePass();
    }
}

void NamingEngine::namingPass() {
    // Reset and seed, so the letters depend on the seed alone and stay the same through every
    // recomputation until the list is rebuilt.
    m_random.seed(
        static_cast<std::mt19937::result_type>(static_cast<std::int64_t>(m_state.RandomSeed)));

    auto& PB1 = m_form.PB1;
    PB1.setValue(0);
    PB1.setVisible(true);

    // Writing the box raises its change, which runs a whole nested pass first.
    if (m_form.Text2.text().isEmpty()) m_form.Text2.setText(QStringLiteral("1"));

    const std::int64_t counter = CounterFrom(LeadingNumber(m_form.Text2.text()));

    NamingOptions options;
    options.useOriginalValue = m_form.Check1.isOn();
    options.useOriginalPrefix = m_form.Check3.isOn();
    options.useOriginalExtension = m_form.Check4.isOn();
    options.randomPrefix = m_form.Check5.isOn();
    options.prefixText = m_form.Text1.text();
    options.extensionText = m_form.Text3.text();
    options.randomCount = static_cast<int>(options.prefixText.size());
    if (options.prefixText.endsWith(QLatin1Char('.'))) {
        options.dotSuffix = QStringLiteral(".");
        --options.randomCount;
    }
    options.width = static_cast<int>(std::min<qsizetype>(m_form.Text2.text().size(), 12));

    // Names made of the typed parts and a counter that goes up differ from row to row; any part
    // taken from the file, random letters or a counter that stands still can repeat a name.
    const bool namesMayRepeat = options.useOriginalValue || options.useOriginalPrefix ||
                                options.useOriginalExtension || options.randomPrefix ||
                                counter <= kStillCounter;
    m_marks.begin(m_form, namesMayRepeat);

    auto& LV = m_form.LV;
    const int count = LV.rowCount();
    NewNameWriter name;
    CountingDigits counting(counter, options.width);
    for (int i = 1; i <= count; ++i) {
        const ListRow& row = LV.row(i);
        if (!row.checked) {
            LV.setNewName(i, QString());
            m_marks.markRow(i, QByteArrayView());
        } else {
            const QString letters = options.randomPrefix ? RndName(options.randomCount) : QString();
            name.compose(row, options, counting.text(), letters);
            LV.copyNewName(i, name.text());
            m_marks.markRow(i, name.bytes());
            if (counting.value() > kStillCounter) counting.next();
        }
        PB1.showStep(i, count);
    }
    m_marks.finish();
    PB1.setVisible(false);
    enableExecuteWhenFilesListed();
}

void NamingEngine::attributePass() {
    auto& PB1 = m_form.PB1;
    PB1.setValue(0);
    PB1.setVisible(true);
    auto& LV = m_form.LV;
    const QByteArray folder = m_form.File1.path() + '/';
    const int count = LV.rowCount();
    for (int i = 1; i <= count; ++i) {
        const ListRow& row = LV.row(i);
        LV.setNewName(i, row.checked ? AttributeMask(m_files, folder + row.rawName) : QString());
        PB1.showStep(i, count);
    }
    m_marks.clear(m_form);
    enableExecuteWhenFilesListed();
    PB1.setVisible(false);
}

void NamingEngine::enableExecuteWhenFilesListed() {
    m_form.Command1.setEnabled(m_form.File1.listCount() > 0);
}

QString NamingEngine::RndName(int count) {
    QString letters;
    if (count <= 0) return letters;
    letters.reserve(count);
    for (int k = 0; k < count; ++k) {
        const double r = m_random() * (1.0 / 4294967296.0);  // in [0, 1)
        int c = static_cast<int>(r * 52) + 65;
        if (c >= 91) c += 6;
        letters += QChar(c);
    }
    return letters;
}

}  // namespace quillet
