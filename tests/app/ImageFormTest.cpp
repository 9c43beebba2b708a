// The per-image dialog: its grid, the write rules of "OK", the effect set of
// a picture, "Reset", and the show lists put back on closing.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTest>

#include "AppTestUtil.h"
#include "app/FocusView.h"
#include "app/ImageForm.h"
#include "app/MediaListModels.h"
#include "app/MotionColumn.h"
#include "model/MotionSetting.h"
#include "model/PerImage.h"
#include "model/PictureFocus.h"
#include "model/Project.h"
#include "model/Settings.h"
#include "model/Show.h"

namespace app_test {
namespace {

using app::TImageForm;

class ImageFormTest : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        if (HasFatalFailure()) return;
        model::Show show = Window().WorkingShow();
        show.settings.ImageInterval = 5;
        Window().AdoptShow(std::move(show));
    }

    // Lists the pictures in the main window, checked unless named in unchecked.
    void List(const QStringList& paths, const QStringList& unchecked = {}) {
        for (const QString& path : paths)
            Window().Images().Append({path.toStdString(), !unchecked.contains(path)});
    }

    // Opens the dialog, runs the script while it is shown, then lets it close.
    void RunDialog(const std::function<void(TImageForm&)>& script) {
        dialogs_.onModal = [&](QDialog& dialog) {
            auto* form = qobject_cast<TImageForm*>(&dialog);
            ASSERT_NE(form, nullptr);
            script(*form);
        };
        Click("customize1");
    }

    static QString Cell(TImageForm& form, int row, int column) {
        const QTableWidgetItem* item = form.Grid().item(row, column);
        return item ? item->text() : QString();
    }
    static void Edit(TImageForm& form, int row, int column, const QString& text) {
        form.Grid().item(row, column)->setText(text);
    }
    static void ClickButton(TImageForm& form, const char* name) {
        auto* button = form.findChild<QAbstractButton*>(QLatin1String(name));
        ASSERT_NE(button, nullptr) << name;
        button->click();
    }
    // The window's show's notes, which the dialog edits.
    model::IniFile& Notes() { return Window().WorkingShow().notes; }
    // The picture's own entry in a section of the show's notes.
    std::string Stored(const char* section, const QString& path) {
        return model::OwnEntry(Notes(), section, path.toStdString()).value_or("<none>");
    }
};

TEST_F(ImageFormTest, TheGridListsTheShowsPicturesWithTheirOwnData) {
    const QString a = MakePicture("a/holiday[2].jpg");
    const QString folder = MakeFolder("trip");
    const QString t1 = MakePicture("trip/t1.jpg"), t2 = MakePicture("trip/t2.gif");
    const QString off = MakePicture("off.jpg");
    MakePicture("bare/b.jpg");  // a folder entry must end with "/"
    List({a, folder + "/", off, Path("missing.jpg"), "http://example.org/x.jpg", Path("bare")},
         {off});
    Window().CollectSettings(false);
    const std::vector<std::string> show = Window().WorkingShow().settings.Pictures;
    Notes().WriteString(model::kCaptionsSection, "holiday2.jpg", "At the sea");
    Notes().WriteString(model::kIntervalsSection, "t1.jpg", "9");
    Notes().WriteString(model::kEffectsSection, "t2.gif", "5,");

    RunDialog([&](TImageForm& form) {
        // Exactly the show's pictures.
        ASSERT_EQ(form.Grid().rowCount(), static_cast<int>(show.size()));
        for (int row = 0; row < form.Grid().rowCount(); ++row)
            EXPECT_EQ(Cell(form, row, TImageForm::kPathColumn).toStdString(),
                      show[static_cast<size_t>(row)]);
        ASSERT_EQ(form.Grid().rowCount(), 3);
        EXPECT_EQ(Cell(form, 0, TImageForm::kFileColumn), "holiday[2].jpg");
        EXPECT_EQ(Cell(form, 0, TImageForm::kCaptionColumn), "At the sea");
        EXPECT_EQ(Cell(form, 0, TImageForm::kEffectsColumn), "Default");
        EXPECT_EQ(Cell(form, 0, TImageForm::kIntervalColumn), "5");
        EXPECT_EQ(Cell(form, 1, TImageForm::kCaptionColumn), "t1");
        EXPECT_EQ(Cell(form, 1, TImageForm::kIntervalColumn), "9");
        EXPECT_EQ(Cell(form, 2, TImageForm::kPathColumn), t2);
        EXPECT_EQ(Cell(form, 2, TImageForm::kEffectsColumn), "Customized");
        EXPECT_TRUE(form.Grid().isColumnHidden(TImageForm::kPathColumn));
        EXPECT_EQ(form.findChild<QLabel*>("Label1")->text(), "Image File: " + a);
    });
}

TEST_F(ImageFormTest, WithoutPicturesOkWritesOnlyTheCaptionSwitch) {
    RunDialog([&](TImageForm& form) {
        EXPECT_EQ(form.Grid().rowCount(), 0);
        EXPECT_TRUE(form.findChild<QLabel*>("Label1")->text().isEmpty());
        form.findChild<QCheckBox*>("captionCheck")->setChecked(true);
        ClickButton(form, "ok1");
    });
    EXPECT_TRUE(Window().WorkingShow().settings.ShowCaption);
    EXPECT_TRUE(Notes().ReadSections().empty());
}

TEST_F(ImageFormTest, OkStoresOnlyCaptionsAndIntervalsThatDifferFromTheDefaults) {
    QStringList files;
    for (const char* name : {"p1.jpg", "p2.jpg", "p3.jpg", "p4.jpg"}) files << MakePicture(name);
    List(files);
    Notes().WriteString(model::kCaptionsSection, "p1.jpg", "old caption");
    Notes().WriteString(model::kIntervalsSection, "p4.jpg", "8");
    Notes().WriteString(model::kMotionSection, "p3.jpg", "pan-up:4");
    Notes().WriteString(model::kMotionSection, "p4.jpg", "zoom-in:2");

    RunDialog([&](TImageForm& form) {
        EXPECT_EQ(Cell(form, 0, TImageForm::kMotionColumn), "Default");
        EXPECT_EQ(Cell(form, 3, TImageForm::kMotionColumn), "Zoom in, 2");
        // A kind and a strength chosen in the cell's editor, taken when the
        // cell is left.
        QTableWidget& grid = form.Grid();
        const auto choose = [&](int row, const QString& kind, int strength) {
            const QModelIndex cell = grid.model()->index(row, TImageForm::kMotionColumn);
            grid.setCurrentIndex(cell);
            grid.edit(cell);
            QWidget* editor = grid.indexWidget(cell);
            ASSERT_NE(editor, nullptr);
            auto* combo = editor->findChild<QComboBox*>("motionKind");
            combo->setCurrentIndex(combo->findText(kind));
            editor->findChild<QSpinBox*>("motionStrength")->setValue(strength);
            grid.setCurrentIndex(grid.model()->index(row, TImageForm::kFileColumn));
        };
        choose(0, "Pan left", 5);
        choose(2, "Default", 1);
        EXPECT_EQ(Cell(form, 0, TImageForm::kMotionColumn), "Pan left, 5");
        EXPECT_EQ(Cell(form, 2, TImageForm::kMotionColumn), "Default");
        Edit(form, 0, TImageForm::kCaptionColumn, "p1");  // the default again
        Edit(form, 1, TImageForm::kCaptionColumn, "P2");  // differs in case only
        Edit(form, 0, TImageForm::kIntervalColumn, "5");
        Edit(form, 1, TImageForm::kIntervalColumn, "07");
        Edit(form, 2, TImageForm::kIntervalColumn, "abc");
        Edit(form, 3, TImageForm::kIntervalColumn, "5");
        form.findChild<QCheckBox*>("captionCheck")->setChecked(true);
        ClickButton(form, "ok1");
    });
    EXPECT_EQ(Stored(model::kCaptionsSection, files[0]), "<none>");
    EXPECT_EQ(Stored(model::kCaptionsSection, files[1]), "P2");
    EXPECT_EQ(Stored(model::kCaptionsSection, files[2]), "<none>");
    EXPECT_EQ(Stored(model::kIntervalsSection, files[0]), "<none>");
    EXPECT_EQ(Stored(model::kIntervalsSection, files[1]), "07");
    EXPECT_EQ(Stored(model::kIntervalsSection, files[2]), "<none>");
    EXPECT_EQ(Stored(model::kIntervalsSection, files[3]), "<none>");
    EXPECT_EQ(Stored(model::kMotionSection, files[0]), "pan-left:5");
    EXPECT_EQ(Stored(model::kMotionSection, files[1]), "<none>");
    EXPECT_EQ(Stored(model::kMotionSection, files[2]), "<none>");
    EXPECT_EQ(Stored(model::kMotionSection, files[3]), "zoom-in:2");
    EXPECT_TRUE(Window().WorkingShow().settings.ShowCaption);
    EXPECT_EQ(Window().WorkingShow().IntervalOf(files[1].toStdString()), 7);
}

TEST_F(ImageFormTest, TypingIntoACellAndPressingReturnOrEscapeWorksFromTheKeyboard) {
    const QString a = MakePicture("a.jpg"), b = MakePicture("b.jpg");
    List({a, b});
    RunDialog([&](TImageForm& form) {
        QTableWidget& grid = form.Grid();
        const auto type = [&](int row, int column, const char* text) -> QWidget* {
            const QModelIndex cell = grid.model()->index(row, column);
            grid.setCurrentIndex(cell);
            grid.edit(cell);
            QWidget* editor = grid.indexWidget(cell);
            if (editor == nullptr) return nullptr;
            QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClicks(editor, QString::fromLatin1(text));
            return editor;
        };
        // Escape in a cell drops what was typed there, not the dialog.
        QWidget* editor = type(1, TImageForm::kCaptionColumn, "Dropped");
        ASSERT_NE(editor, nullptr);
        QTest::keyClick(editor, Qt::Key_Escape);
        EXPECT_TRUE(form.isVisible());
        EXPECT_EQ(Cell(form, 1, TImageForm::kCaptionColumn), "b");
        // Return ends the typing; a second Return is the default button's.
        editor = type(0, TImageForm::kCaptionColumn, "Beach");
        ASSERT_NE(editor, nullptr);
        QTest::keyClick(editor, Qt::Key_Return);
        QCoreApplication::sendPostedEvents();
        EXPECT_EQ(Cell(form, 0, TImageForm::kCaptionColumn), "Beach");
        EXPECT_TRUE(form.isVisible());
        QTest::keyClick(&grid, Qt::Key_Return);
        EXPECT_FALSE(form.isVisible());
    });
    EXPECT_EQ(Stored(model::kCaptionsSection, a), "Beach");
    EXPECT_EQ(Stored(model::kCaptionsSection, b), "<none>");
}

TEST_F(ImageFormTest, TabVisitsTheTreeToolsBeforeTheTreeAndWrapsFromCancelToTheGrid) {
    List({MakePicture("a.jpg")});
    RunDialog([&](TImageForm& form) {
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
        const auto named = [&](const char* name) {
            return form.findChild<QWidget*>(QLatin1String(name));
        };
        const auto tabFrom = [&](const char* name) {
            named(name)->setFocus();
            QTest::keyClick(named(name), Qt::Key_Tab);
            return QApplication::focusWidget();
        };
        EXPECT_EQ(tabFrom("collapsenodes1"), named("NT"));
        EXPECT_EQ(tabFrom("cancel1"), named("sg"));
    });
}

// Two cameras' pictures of one name keep their own captions through the
// options file and through a project.
TEST_F(ImageFormTest, PicturesWithTheSameNameInTwoFoldersKeepTheirOwnCaptions) {
    const QString beach = MakePicture("beach/IMG_0001.jpg");
    const QString mountain = MakePicture("mountain/IMG_0001.jpg");
    List({beach, mountain});
    RunDialog([&](TImageForm& form) {
        Edit(form, 0, TImageForm::kCaptionColumn, "Beach day");
        Edit(form, 1, TImageForm::kCaptionColumn, "Mountain day");
        ClickButton(form, "ok1");
    });
    ASSERT_TRUE(Window().CollectSettings(true));
    const auto captionsIn = [&](const model::IniFile& store) {
        return QStringList{QString::fromStdString(*model::OwnEntry(store, model::kCaptionsSection,
                                                                   beach.toStdString())),
                           QString::fromStdString(*model::OwnEntry(store, model::kCaptionsSection,
                                                                   mountain.toStdString()))};
    };
    const QStringList expected{"Beach day", "Mountain day"};
    EXPECT_EQ(captionsIn(model::IniFile(model::OptionsFileName())), expected);

    model::ProjectHooks hooks;
    hooks.collectSettings = [&](bool write) { Window().CollectSettings(write); };
    hooks.showLoaded = [&](model::Show show) { Window().AdoptShow(std::move(show)); };
    hooks.effectTree = &Window().EffectTree();
    const std::string project = model::SaveProject1Click(Dir() + "show", hooks);
    EXPECT_EQ(captionsIn(model::IniFile(project)), expected);
    // Only the project can bring them back.
    model::OptionsStore().EraseSection(model::kCaptionsSection);
    Notes().EraseSection(model::kCaptionsSection);
    model::LoadProject1Click(project, hooks);
    EXPECT_EQ(Window().WorkingShow().CaptionOf(beach.toStdString()), "Beach day");
    EXPECT_EQ(Window().WorkingShow().CaptionOf(mountain.toStdString()), "Mountain day");
}

// An options file written before path keys: both pictures of a name show
// its entries; OK gives each its own, so one set back to the defaults stays
// so while the other keeps what it had.
TEST_F(ImageFormTest, FileNameEntriesAreTakenOverByEachPictureOfThatName) {
    const QString first = MakePicture("one/x.jpg"), second = MakePicture("two/x.jpg");
    List({first, second});
    model::Show& show = Window().WorkingShow();
    show.settings.useeffects = model::ParseStyleSet("5,6,22,");
    Notes().WriteString(model::kCaptionsSection, "x.jpg", "Harbour");
    Notes().WriteString(model::kIntervalsSection, "x.jpg", "9");
    Notes().WriteString(model::kEffectsSection, "x.jpg", "5,");
    Notes().WriteString(model::kMotionSection, "x.jpg", "zoom-in:2");

    RunDialog([&](TImageForm& form) {
        for (int row : {0, 1}) {
            EXPECT_EQ(Cell(form, row, TImageForm::kCaptionColumn), "Harbour");
            EXPECT_EQ(Cell(form, row, TImageForm::kIntervalColumn), "9");
            EXPECT_EQ(Cell(form, row, TImageForm::kEffectsColumn), "Customized");
            EXPECT_EQ(Cell(form, row, TImageForm::kMotionColumn), "Zoom in, 2");
        }
        form.Grid().setCurrentCell(0, TImageForm::kCaptionColumn);
        form.findChild<QRadioButton*>("DefaultRadio")->click();
        Edit(form, 0, TImageForm::kCaptionColumn, "x");
        Edit(form, 0, TImageForm::kIntervalColumn, "5");
        form.Grid().setItem(0, TImageForm::kMotionColumn, app::MotionCell(std::nullopt));
        ClickButton(form, "ok1");
    });
    for (const char* section : model::PerPictureSections())
        EXPECT_FALSE(Notes().ValueExists(section, "x.jpg")) << section;
    EXPECT_EQ(show.CaptionOf(first.toStdString()), "x");
    EXPECT_FALSE(show.HasOwnInterval(first.toStdString()));
    EXPECT_EQ(model::StyleSetText(show.EffectsOf(first.toStdString())), "5,6,22,");
    EXPECT_EQ(model::OwnMotion(Notes(), first.toStdString()), std::nullopt);
    EXPECT_EQ(show.CaptionOf(second.toStdString()), "Harbour");
    EXPECT_EQ(show.IntervalOf(second.toStdString()), 9);
    EXPECT_EQ(model::StyleSetText(show.EffectsOf(second.toStdString())), "5,");
    EXPECT_EQ(model::OwnMotion(Notes(), second.toStdString()),
              (model::MotionSetting{model::MotionKind::ZoomIn, 2}));
}

TEST_F(ImageFormTest, CancelDropsTypedCaptionsButKeepsEffectSets) {
    const QString a = MakePicture("a.jpg");
    List({a});
    RunDialog([&](TImageForm& form) {
        Edit(form, 0, TImageForm::kCaptionColumn, "typed");
        form.findChild<QCheckBox*>("captionCheck")->setChecked(true);
        form.PictureTree().SetEffectChecked(1, 0, false);
        ClickButton(form, "cancel1");
    });
    EXPECT_EQ(Stored(model::kCaptionsSection, a), "<none>");
    EXPECT_FALSE(Window().WorkingShow().settings.ShowCaption);
    EXPECT_NE(Stored(model::kEffectsSection, a), "<none>");
}

TEST_F(ImageFormTest, ShownAgainWhileOpenItKeepsWhatWasTyped) {
    const QString a = MakePicture("a.jpg"), b = MakePicture("b.jpg");
    List({a, b});
    RunDialog([&](TImageForm& form) {
        Edit(form, 1, TImageForm::kCaptionColumn, "typed");
        // Minimised and restored.
        form.hide();
        form.show();
        EXPECT_EQ(Cell(form, 1, TImageForm::kCaptionColumn), "typed");
        ClickButton(form, "ok1");
    });
    EXPECT_EQ(Stored(model::kCaptionsSection, b), "typed");
}

TEST_F(ImageFormTest, ChangingAPicturesEffectsStoresThemAndUseDefaultDeletesThem) {
    const QString a = MakePicture("a.jpg"), b = MakePicture("b.jpg");
    List({a, b});
    // The whole first category.
    Window().WorkingShow().settings.useeffects = model::ParseStyleSet("5,6,22,");
    RunDialog([&](TImageForm& form) {
        auto* useDefault = form.findChild<QRadioButton*>("DefaultRadio");
        auto* customized = form.findChild<QRadioButton*>("CustRadio");
        EXPECT_TRUE(useDefault->isChecked());

        form.PictureTree().SetEffectChecked(1, 1, true);  // Dissolve
        EXPECT_EQ(Stored(model::kEffectsSection, a), "5,6,22,160,");
        EXPECT_EQ(Cell(form, 0, TImageForm::kEffectsColumn), "Customized");
        EXPECT_TRUE(customized->isChecked());

        // Back to the default selection by hand: only the radios follow.
        form.PictureTree().SetEffectChecked(1, 1, false);
        EXPECT_TRUE(useDefault->isChecked());
        EXPECT_EQ(Stored(model::kEffectsSection, a), "5,6,22,160,");

        form.PictureTree().SetEffectChecked(0, 0, false);
        EXPECT_EQ(Stored(model::kEffectsSection, a), "6,22,");
        useDefault->click();
        EXPECT_EQ(Stored(model::kEffectsSection, a), "<none>");
        EXPECT_EQ(Cell(form, 0, TImageForm::kEffectsColumn), "Default");
        EXPECT_TRUE(form.PictureTree().EffectChecked(0, 0));

        // Another row shows its own set: b has none, so the default.
        form.Grid().setCurrentCell(1, TImageForm::kCaptionColumn);
        EXPECT_TRUE(useDefault->isChecked());
        form.PictureTree().SetCategoryChecked(1, true);
        EXPECT_EQ(Stored(model::kEffectsSection, b), "5,6,22,118,160,");
        form.Grid().setCurrentCell(0, TImageForm::kCaptionColumn);
        EXPECT_FALSE(form.PictureTree().EffectChecked(1, 0));
        form.Grid().setCurrentCell(1, TImageForm::kCaptionColumn);
        EXPECT_TRUE(customized->isChecked());
        EXPECT_TRUE(form.PictureTree().EffectChecked(1, 0));
    });
    EXPECT_EQ(model::StyleSetText(Window().WorkingShow().EffectsOf(b.toStdString())),
              "5,6,22,118,160,");
}

TEST_F(ImageFormTest, TheFocusViewSetsMovesAndClearsFocusPointsOnOkOnly) {
    const QString a = MakePicture("a.png"), b = MakePicture("b.png"),
                  c = MakePicture("c.png", 48, 64);
    List({a, b, c});
    model::SetOwnFocus(Notes(), b.toStdString(), model::FocusPoint{0.1, 0.2});
    model::SetOwnFocus(Notes(), c.toStdString(), model::FocusPoint{0.9, 0.9});

    // On a: a click a quarter in and three quarters down; on b, whose stored
    // point is shown, "Clear focus"; on c, portrait, one step right by key.
    const auto edit = [&](TImageForm& form) {
        app::FocusView& view = form.PictureFocusView();
        const QRectF shown = view.PictureRect();
        ASSERT_FALSE(shown.isEmpty());
        EXPECT_FALSE(view.FocusPoint().has_value());
        QTest::mouseClick(
            &view, Qt::LeftButton, {},
            QPointF(shown.left() + shown.width() / 4, shown.top() + shown.height() * 3 / 4)
                .toPoint());
        form.Grid().setCurrentCell(1, TImageForm::kCaptionColumn);
        EXPECT_EQ(view.FocusPoint(), (model::FocusPoint{0.1, 0.2}));
        ClickButton(form, "clearFocus");
        EXPECT_FALSE(view.FocusPoint().has_value());
        form.Grid().setCurrentCell(2, TImageForm::kCaptionColumn);
        ASSERT_LT(view.PictureRect().width(), view.PictureRect().height());
        view.setFocus();
        QTest::keyClick(&view, Qt::Key_Right);
    };
    const auto stored = [&](const QString& path) {
        return model::OwnFocus(Notes(), path.toStdString());
    };

    RunDialog([&](TImageForm& form) {
        edit(form);
        ClickButton(form, "cancel1");
    });
    EXPECT_FALSE(stored(a).has_value());
    EXPECT_EQ(stored(b), (model::FocusPoint{0.1, 0.2}));
    EXPECT_EQ(stored(c), (model::FocusPoint{0.9, 0.9}));

    RunDialog([&](TImageForm& form) {
        edit(form);
        ClickButton(form, "ok1");
    });
    ASSERT_TRUE(stored(a).has_value());
    // Within a pixel of the 64x48 thumbnail.
    EXPECT_NEAR(stored(a)->x, 0.25, 1.0 / 64);
    EXPECT_NEAR(stored(a)->y, 0.75, 1.0 / 48);
    EXPECT_FALSE(stored(b).has_value());
    EXPECT_NEAR(stored(c)->x, 0.9 + app::FocusView::kKeyStep, 1e-4);
    EXPECT_NEAR(stored(c)->y, 0.9, 1e-4);
}

TEST_F(ImageFormTest, TheSelectedPicturesFoundFacesAreOutlined) {
    const QString a = MakePicture("a.png"), b = MakePicture("b.png");
    List({a, b});
    motion::Subject found;
    found.faces = {{0.1, 0.2, 0.2, 0.3}, {0.6, 0.1, 0.25, 0.25}};
    found.salient = motion::SubjectBox{0.05, 0.1, 0.9, 0.6};

    RunDialog([&](TImageForm& form) {
        app::FocusView& view = form.PictureFocusView();
        const QRectF shown = view.PictureRect();
        ASSERT_FALSE(shown.isEmpty());
        // Another picture's subject is not drawn on this one.
        form.ShowSubject(b, found);
        EXPECT_TRUE(view.FaceOutlines().empty());
        EXPECT_FALSE(view.SalientOutline().has_value());

        form.ShowSubject(a, found);
        const auto at = [&](double x, double y, double w, double h) {
            return QRectF(shown.left() + x * shown.width(), shown.top() + y * shown.height(),
                          w * shown.width(), h * shown.height());
        };
        const std::vector<QRectF> faces = view.FaceOutlines();
        ASSERT_EQ(faces.size(), 2u);
        EXPECT_EQ(faces[0], at(0.1, 0.2, 0.2, 0.3));
        EXPECT_EQ(faces[1], at(0.6, 0.1, 0.25, 0.25));
        EXPECT_EQ(view.SalientOutline(), at(0.05, 0.1, 0.9, 0.6));
        // Each picture shows its own: b has none found yet.
        form.Grid().setCurrentCell(1, TImageForm::kCaptionColumn);
        EXPECT_TRUE(view.FaceOutlines().empty());
    });
}

TEST_F(ImageFormTest, ResetErasesEveryPicturesOwnDataAfterAsking) {
    const QString a = MakePicture("a.jpg");
    List({a});
    Notes().WriteString(model::kCaptionsSection, "a.jpg", "mine");
    Notes().WriteString(model::kCaptionsSection, "unlisted.jpg", "kept until reset");
    Notes().WriteString(model::kIntervalsSection, "a.jpg", "3");
    Notes().WriteString(model::kEffectsSection, "a.jpg", "5,");
    Notes().WriteString(model::kMotionSection, "a.jpg", "zoom-out:1");
    Notes().WriteString(model::kFocusSection, "a.jpg", "0.2,0.3");
    // Already in the working store too, as after a collect.
    Window().CollectSettings(false);

    dialogs_.answers = {false, true};
    RunDialog([&](TImageForm& form) {
        ClickButton(form, "reset1");
        EXPECT_EQ(Cell(form, 0, TImageForm::kCaptionColumn), "mine");
        ClickButton(form, "reset1");
        EXPECT_EQ(Cell(form, 0, TImageForm::kCaptionColumn), "a");
        EXPECT_EQ(Cell(form, 0, TImageForm::kIntervalColumn), "5");
        EXPECT_EQ(Cell(form, 0, TImageForm::kEffectsColumn), "Default");
        EXPECT_EQ(Cell(form, 0, TImageForm::kMotionColumn), "Default");
    });
    const QString question =
        "Reset the captions, intervals, motions, focus points and transitions of all pictures to "
        "their defaults?";
    EXPECT_EQ(dialogs_.questions, QStringList({question, question}));
    // Gone from the show, and from the working store at the next collect.
    Window().CollectSettings(false);
    for (const char* section : model::PerPictureSections()) {
        EXPECT_FALSE(Notes().SectionExists(section)) << section;
        EXPECT_TRUE(model::OptionsStore().ReadSection(section).empty()) << section;
    }
}

}  // namespace
}  // namespace app_test
