#include <QFileDialog>
#include <QMessageBox>
#include <memory>

#include "app/BackgroundWork.h"
#include "app/CardDialogs.h"
#include "app/Mp3_list.h"
#include "app/QtText.h"
#include "app/SiteDialog.h"
#include "common/EditorError.h"
#include "common/UtcTime.h"
#include "delivery/SiteDeploy.h"

// A site of many players from the window: its file in a dialog, and a player's card copied
// with the same card chooser, plan and copy as Copy to Card.
namespace pwx {

namespace {

// What the copy of a player's card finds before it asks.
struct SitePrepared {
  std::optional<SiteSetup> Setup;  // as the card was planned; its log line says the same
  std::optional<ProjectSnapshot> Template;
  std::optional<DeployPlan> Plan;
  PlanOptions Planning;
  std::string OtherPlayer;  // the card holds another player's files: why not to write it
  std::string Failure;
};

}  // namespace

void TForm1::OpenSite() {
  const QString path =
      QFileDialog::getOpenFileName(this, QStringLiteral("Open Site"), QString(),
                                   QStringLiteral("Site files (*.csv);;All files (*)"));
  if (path.isEmpty()) return;
  try {
    OpenSiteFile(ReadSiteFile(NativePath(path)));
  } catch (const EditorError& error) {
    QMessageBox::warning(this, QStringLiteral("Site"), Text(error.what()));
  }
}

SiteDialog* TForm1::OpenSiteFile(SiteFile site) {
  auto* dialog = new SiteDialog(
      this, std::move(site),
      [this](const SiteFile& file, std::size_t player) { CopySitePlayer(file, player); });
  dialog->setAttribute(Qt::WA_DeleteOnClose);
  dialog->show();
  return dialog;
}

void TForm1::CopySitePlayer(const SiteFile& site, std::size_t player) {
  if (background_->Running()) return;
  const auto card = AskForCard(QStringLiteral("Copy to Card"));
  if (!card) return;
  const std::string destination = NativePath(*card);
  auto prepared = std::make_shared<SitePrepared>();
  background_->Start(
      QStringLiteral("Copy to Card"),
      [site, player, destination, prepared,
       store = FileHashStorePath()](const WorkControl& control) {
        try {
          const SiteSetup& setup = prepared->Setup.emplace(SetUpSite(site));
          const SiteTemplate& made =
              setup.Templates.at(static_cast<std::size_t>(setup.TemplateOfPlayer.at(player)));
          if (!made.Project) throw EditorError("The template cannot be read: " + made.Failure);
          prepared->Template = made.Project;
          prepared->Planning = SitePlanOptions(setup, player);
          if (const auto why = WhyNotThisPlayersCard(setup, player, destination)) {
            prepared->OtherPlayer = *why;
          }
          FileHashCache cache(store);
          PlanOptions planning = prepared->Planning;
          planning.Cache = &cache;
          planning.Work = control;
          prepared->Plan = PlanDeploy(*made.Project, destination, planning);
          cache.Save();
        } catch (const EditorError& error) {
          prepared->Failure = error.what();
        }
      },
      [this, site, player, destination, prepared](bool cancelled) {
        if (cancelled) return;
        if (!prepared->Plan) {
          QMessageBox::warning(this, QStringLiteral("Copy to Card"), Text(prepared->Failure));
          return;
        }
        if (!prepared->OtherPlayer.empty() &&
            QMessageBox::question(
                this, QStringLiteral("Copy to Card"),
                Text(prepared->OtherPlayer) + QStringLiteral("\n\nWrite over it anyway?")) !=
                QMessageBox::Yes) {
          return;
        }
        CardPlanDialog dialog(this, *prepared->Plan, {});
        if (!(planReview_ ? planReview_(dialog) : dialog.exec() == QDialog::Accepted)) return;
        const bool deleteStale = dialog.DeleteStale();
        auto result = std::make_shared<DeployResult>();
        background_->Start(
            QStringLiteral("Copy to Card"),
            [prepared, deleteStale, result,
             store = FileHashStorePath()](const WorkControl& control) {
              *result = CopyReviewedPlan(*prepared->Template, *prepared->Plan, prepared->Planning,
                                         deleteStale, store, control);
            },
            [this, site, player, destination, prepared, result](bool) {
              SiteCardResult done;
              done.Plan = prepared->Plan;
              done.Result = *result;
              done.Time = UtcTimeNow();
              QString summary =
                  Text(SitePlayerText(site.Players[player]) + ": " + result->Summary());
              try {
                AppendSiteLog(SiteLogPath(site.Path),
                              SiteLogEntryOf(*prepared->Setup, player, destination, done));
              } catch (const EditorError& error) {
                summary += QStringLiteral("\n\n") + Text(error.what());
              }
              QMessageBox box(result->Succeeded() ? QMessageBox::Information : QMessageBox::Warning,
                              QStringLiteral("Copy to Card"), summary, QMessageBox::Ok, this);
              box.exec();
            });
      });
}

}  // namespace pwx
