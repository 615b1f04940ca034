// texts/texts.xml: every text the player reads and the tuning numbers of play.
#include <cstdio>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

#include <pugixml.hpp>

#include "content.h"
#include "texts.h"

namespace resgen {

namespace {

using ENTRY = std::pair<const char*, std::string>;

std::vector<ENTRY> tuningEntries() {
  std::vector<ENTRY> entries = {
      {"game_name", "Pindrake"},
      // An action point is lost 10 s after the last pair; five points raise the multiplier.
      {"defaultTimeToDecreaseActionPointsByOnePoint", "10"},
      {"numberOfActionPointsToIncreaseMultiplier", "5"},
      {"bonus_card_XX_money_bonus_value", "50"},
      {"bonus_card_XXX_money_bonus_value", "250"},
      // A frame pays a few hundred: the first extra place comes after two or three frames.
      {"shop_price_place_number1", "600"},
      {"shop_price_place_number2", "900"},
      {"shop_price_place_number3", "1500"},
      {"shop_price_place_number4", "2500"},
      {"shop_price_place_number5", "4000"},
      {"shop_price_reshuffle", "300"},
      // Also every new player's starting money: one joker's worth.
      {"shop_price_joker", "500"},
  };
  return entries;
}

}  // namespace

std::vector<std::pair<std::string, std::string>> textEntries() {
  std::vector<std::pair<std::string, std::string>> entries;
  for (const ENTRY& entry : tuningEntries()) entries.push_back({entry.first, entry.second});
  // Pack goals rise gently; a careful player with some spares and a few strikes gets there.
  for (int n = 1; n <= 12; ++n) entries.push_back({"junior_pack" + std::to_string(n) + "_goal", std::to_string(55 + 5 * n)});
  for (int n = 1; n <= 12; ++n) entries.push_back({"professional_pack" + std::to_string(n) + "_goal", std::to_string(75 + 5 * n)});

  // A trailing blank before each bar keeps the words apart where the bars are removed.
  const char* packs[12] = {"Rookie |Lanes", "Gutter |Guards", "Pin |Setters", "Split |Alley",
                           "Spare |Street", "Hook |Harbour", "Turkey |Town", "Strike |Hall",
                           "Velvet |Lanes", "Neon |Bowl", "Golden |Pins", "Perfect |Game"};
  for (int n = 1; n <= 12; ++n) entries.push_back({"pack" + std::to_string(n) + "_name", packs[n - 1]});

  const std::vector<std::pair<std::string, std::string>> words = {
      {"frame", "Frame"},
      {"result", "Result: %result"},
      {"best_result", "Best: %result"},
      {"strike", "Strike"},
      {"spare", "Spare"},
      {"knocked_down", "%number pins down"},
      {"knocked_down_one", "%number pin down"},
      {"bonus_card_score", "+%score coins!"},
      {"bonus_card_bonus", "Bonus: %bonusname"},
      {"bonus_card_bonusname1", "free|reshuffle!"},
      {"bonus_card_bonusname2", "free|joker!"},
      {"bonus_card_bonusname3", "instant|strike!"},
      {"prize", "Prize"},
  };
  entries.insert(entries.end(), words.begin(), words.end());

  const char* trophyNames[24] = {
      "Lane|Legend", "Pro|Champion", "Perfect|Pack", "Six Perfect|Packs", "Hall of|Fame",
      "Pro Perfect|Pack", "Pro Six|Packs", "Pro Hall|of Fame", "First|Strike", "Double",
      "Turkey", "Piggy|Bank", "Money|Bags", "Millionaire", "Pro Piggy|Bank", "Pro Money|Bags",
      "Pro|Millionaire", "Shuffler", "Card|Juggler", "Shuffle|Master", "Wild|Card",
      "Joker|Jester", "Joker|King", "Full|House"};
  const char* trophyDescriptions[24] = {
      // Short lines: the trophies page shows them beside the trophy's picture.
      "Finish the last frame|of the last pack|in Junior mode.",
      "Finish the last frame|of the last pack|in Professional mode.",
      "Score 300 in a pack|in Junior mode.",
      "Score 300 in six|packs in Junior mode.",
      "Score 300 in all|twelve packs|in Junior mode.",
      "Score 300 in a pack|in Professional mode.",
      "Score 300 in six packs|in Professional mode.",
      "Score 300 in all|twelve packs|in Professional mode.",
      "Knock down all ten|pins with the first ball.",
      "Bowl two strikes|in a row.",
      "Bowl three strikes|in a row.",
      "Save up more than|100 000 coins|in Junior mode.",
      "Save up more than|500 000 coins|in Junior mode.",
      "Save up more than|1 000 000 coins|in Junior mode.",
      "Save up more than|100 000 coins|in Professional mode.",
      "Save up more than|500 000 coins|in Professional mode.",
      "Save up more than|1 000 000 coins|in Professional mode.",
      "Use your|10th reshuffle.",
      "Use your|50th reshuffle.",
      "Use your|100th reshuffle.",
      "Place your|10th joker.",
      "Place your|50th joker.",
      "Place your|100th joker.",
      "Buy every reserve|place: play with|five piles."};
  const int trophyPrizes[24] = {5000, 10000, 3000, 8000, 20000, 5000, 12000, 30000,
                                500,  1000,  2000, 1000, 2500, 5000,  1500, 3500,
                                7000, 500,   1500, 3000, 500,  1500,  3000, 2000};
  for (int n = 1; n <= 24; ++n) entries.push_back({"trophy_" + std::to_string(n) + "_name", trophyNames[n - 1]});
  for (int n = 1; n <= 24; ++n) entries.push_back({"trophy_" + std::to_string(n) + "_description", trophyDescriptions[n - 1]});
  for (int n = 1; n <= 24; ++n) entries.push_back({"trophy_" + std::to_string(n) + "_prize", std::to_string(trophyPrizes[n - 1])});

  const std::vector<std::pair<std::string, std::string>> hints = {
      {"hint_0", "Welcome to the lanes!"},
      {"hint_1", "Take two free cards of the same rank|to clear them from the table."},
      {"hint_2", "Two cards of the same rank make a pair.|Click both marked cards to clear them."},
      {"hint_3", "You uncovered pin cards: every pin card you clear knocks down a pin.|Take the two marked pin cards."},
      {"hint_4", "A bonus card has come up on a reserve pile.|Pair it with a card of the same rank to win a prize."},
      {"hint_5", "Quick pairs raise your multiplier, shown at the top right.|Every pair pays its coins times the multiplier."},
      {"hint_6", "Spend your coins in the shop.|Click the shop button."},
      {"hint_7", "A joker pairs with any card.|Choose the joker."},
      {"hint_8", "Buy the joker: it matches|any card on the table or on a pile."},
      {"hint_9", "Click the joker button,|then click the marked card."},
      {"hint_10", "The card you chose is a joker now:|pair it with any free card."},
      {"hint_11", "Keep pairing cards|to knock down every pin."},
      {"hint_12", "Reshuffle: every card on the table|and in the stock gets a new value."},
      {"hint_13", "Reserve place: one more pile|beside the stock, for good."},
      {"hint_14", "Joker: turns a free card of your choice|into a wild card that pairs with any card."},
      {"hint_15", "Plan ahead: some cards|free several others."},
      {"hint_16", "Buy it now?"},
      {"hint_17", "Do you really want|to leave the lanes?"},
      {"hint_18", "balls|left"},
      {"hint_19", "Relaxed play with hints.|A good place to start."},
      {"hint_20", "No help and tougher goals.|For seasoned bowlers."},
      {"hint_21", "This pack is still locked.|Reach the goal of the pack before it|to open it."},
      {"hint_22", "Strike!"},
      {"hint_23", "Spare!"},
      {"hint_24", "Every pin card you clear|knocks down one pin."},
      {"hint_25", "Choose a pack of lanes to play. Reach its goal to open the next one."},
      {"hint_26", "Pair the free cards first."},
      {"hint_27", "Pair the eight on the first reserve pile with the eight at the top left.|A reshuffle, later, gives every card a new value when no pair is left."},
      {"hint_28", "Now click the stock: it deals one card|onto each reserve pile."},
      {"hint_29", "The stock is used up: click it to turn it over for your second ball,|or use a reshuffle to give every card a new value."},
      {"hint_30", "Start with Junior mode: |reach the first pack's goal there |to open Professional mode."},
      {"hint_31", "Cards lying under others|stay face down until freed."},
      {"hint_32", "Bonus cards give coins,|reshuffles, jokers or a strike."},
      {"hint_33", "A spare needs every pin down|with the second ball."},
      {"hint_34", "Good luck!"},
      {"hint_place", "An extra reserve place:|one more pile beside the stock,|in every frame from now on."},
      {"hint_reshuffle", "A reshuffle gives every card|on the table and in the stock|a new value."},
      {"hint_joker", "A joker turns any free card|into a wild card that pairs|with anything."},
      {"buy_item", "Buy"},
      {"shop", "Shop"},
      {"pause", "Pause"},
      {"continue", "Continue"},
      {"restart", "Restart"},
      {"options", "Options"},
      {"frames", "Frames"},
      {"main_menu", "Main menu"},
      {"sound", "Sound"},
      {"music", "Music"},
      {"fullscreen", "Full screen"},
      {"mute_all", "Game cursor"},
      {"credits", "Credits"},
      {"credits_Ostvane", "Pindrake team"},
      {"credits_producer", "Producer"},
      {"credits_producer_name", "Pindrake production team"},
      {"credits_partner_studio", "Pindrake contributors"},
      {"credits_game_designer", "Game design"},
      {"credits_game_designer_name", "Pindrake design team"},
      {"credits_2d_art", "2D art"},
      {"credits_2d_art_name", "Pindrake art team"},
      {"credits_music", "Music and sound"},
      {"credits_music_name", "Pindrake sound team"},
      {"credits_tech", "Technology"},
      {"credits_tessaro", "Pindrake engine team"},
      {"change_player", "Change player"},
      {"play", "Play"},
      {"help", "Help"},
      {"trophies", "Trophies"},
      {"game_modes", "Game modes"},
      {"junior", "Junior"},
      {"professional", "Professional"},
      {"information", "Information"},
      {"total_score", "Total score"},
      {"add_player", "New player"},
      {"enter_your_name", "Enter your name:"},
      {"delete_player", "Delete player"},
      {"quit", "Quit"},
      {"player_exists", "That name is taken."},
      {"player_name_letters_unknown", "The game cannot write some|of these letters. Please|choose another name."},
      {"save_failed", "Your progress could not be saved."},
      {"game_already_running", "Pindrake is already running. Only one copy of the game can use your saves at a time."},
      {"start", "Start"},
      {"cancel", "Cancel"},
      {"total", "Total"},
      {"string_not_found", "string_not_found"},
      {"do_you_want_to_delete_player", "Delete the player|%name?"},
      {"help_message_1", "Clear the lanes two cards|at a time."},
      {"help_message_2", "Two free cards of the same|rank make a pair; suits|do not matter."},
      {"help_message_3", "A card is free when no|other card lies on it."},
      {"help_message_4", "Pin cards are the pins:|clear all ten for a strike."},
      {"help_message_5", "Click the stock to deal a card|onto each reserve pile. Used up,|it turns over once: your second ball."},
      {"help_message_6", "Pile tops pair with table|cards and with each other."},
      {"help_message_7", "Ten frames make a pack."},
      {"help_message_8", "Quick pairs raise the|multiplier and the coins|each pair pays."},
      {"help_message_9", "A joker pairs with any card."},
      {"help_message_10", "A reshuffle gives every card on the|table and in the stock a new value."},
      {"help_message_11", "Pairs and bonus cards pay coins:|spend them in the shop on places,|reshuffles and jokers."},
      {"help_message_12", "Frames score like bowling:|a perfect pack makes 300."},
  };
  entries.insert(entries.end(), hints.begin(), hints.end());
  return entries;
}

bool generateTexts(const std::filesystem::path& resources) {
  const std::filesystem::path folder = resources / "texts";
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  if (error) {
    std::fprintf(stderr, "texts: cannot create %s: %s\n", folder.string().c_str(), error.message().c_str());
    return false;
  }
  pugi::xml_document document;
  pugi::xml_node root = document.append_child("texts");
  for (const auto& [key, text] : textEntries()) {
    root.append_child(key.c_str()).append_attribute("text").set_value(text.c_str());
  }
  const std::filesystem::path target = folder / "texts.xml";
  std::filesystem::path temporary = target;
  temporary += ".part";
  if (!document.save_file(temporary.c_str(), "\t", pugi::format_indent, pugi::encoding_utf8)) {
    std::fprintf(stderr, "texts: cannot write %s\n", temporary.string().c_str());
    return false;
  }
  std::filesystem::rename(temporary, target, error);
  if (error) {
    std::fprintf(stderr, "texts: cannot rename %s: %s\n", temporary.string().c_str(), error.message().c_str());
    return false;
  }
  return true;
}

}  // namespace resgen
