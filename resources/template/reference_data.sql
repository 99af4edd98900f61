-- French reference data loaded into the database of a new user.
-- One INSERT per row; identifiers are left to the engine.
--
-- Vaccination schedules of dogs and cats: Squires R.A., Crawford C., Marcondes M., Whitley N.,
--   "2024 guidelines for the vaccination of dogs and cats", Vaccination Guidelines Group (VGG)
--   of the World Small Animal Veterinary Association (WSAVA), J. Small Anim. Pract., 2024.
--   Rabbit, ferret and horse schedules follow usual French practice and the products' SPC (RCP).
-- Haematology reference intervals (adult dog and cat): The Merck Veterinary Manual
--   (MSD Veterinary Manual), Reference Guides, "Hematologic Reference Ranges".
-- Biochemistry reference intervals (adult dog and cat, SI units): IDEXX Laboratories published
--   reference intervals for the Catalyst analysers; creatinine and total bilirubin from the
--   IDEXX Reference Laboratories update of 30 October 2017; SDMA upper limit as used by the
--   International Renal Interest Society (IRIS) staging of chronic kidney disease.
-- An interval is a population reference: each laboratory and analyser has its own, and the
--   user can adjust the copy attached to an animal.

-- Species. Only rows with Id_File = -1 are listed by the species window.
INSERT INTO ANIMAL_SPECIES (Id_File, Title) VALUES (-1, 'Chien');
INSERT INTO ANIMAL_SPECIES (Id_File, Title) VALUES (-1, 'Chat');
INSERT INTO ANIMAL_SPECIES (Id_File, Title) VALUES (-1, 'Lapin');
INSERT INTO ANIMAL_SPECIES (Id_File, Title) VALUES (-1, 'Furet');
INSERT INTO ANIMAL_SPECIES (Id_File, Title) VALUES (-1, 'Cochon d''Inde');
INSERT INTO ANIMAL_SPECIES (Id_File, Title) VALUES (-1, 'Hamster');
INSERT INTO ANIMAL_SPECIES (Id_File, Title) VALUES (-1, 'Rat');
INSERT INTO ANIMAL_SPECIES (Id_File, Title) VALUES (-1, 'Souris');
INSERT INTO ANIMAL_SPECIES (Id_File, Title) VALUES (-1, 'Gerbille');
INSERT INTO ANIMAL_SPECIES (Id_File, Title) VALUES (-1, 'Chinchilla');
INSERT INTO ANIMAL_SPECIES (Id_File, Title) VALUES (-1, 'Dègue du Chili');
INSERT INTO ANIMAL_SPECIES (Id_File, Title) VALUES (-1, 'Perroquet');
INSERT INTO ANIMAL_SPECIES (Id_File, Title) VALUES (-1, 'Perruche');
INSERT INTO ANIMAL_SPECIES (Id_File, Title) VALUES (-1, 'Canari');
INSERT INTO ANIMAL_SPECIES (Id_File, Title) VALUES (-1, 'Poule');
INSERT INTO ANIMAL_SPECIES (Id_File, Title) VALUES (-1, 'Cheval');
INSERT INTO ANIMAL_SPECIES (Id_File, Title) VALUES (-1, 'Poney');
INSERT INTO ANIMAL_SPECIES (Id_File, Title) VALUES (-1, 'Âne');
INSERT INTO ANIMAL_SPECIES (Id_File, Title) VALUES (-1, 'Chèvre');
INSERT INTO ANIMAL_SPECIES (Id_File, Title) VALUES (-1, 'Mouton');
INSERT INTO ANIMAL_SPECIES (Id_File, Title) VALUES (-1, 'Tortue');

-- Dog breeds, with the names used by the French breed registry.
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Chien'), 'Berger australien');
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Chien'), 'Berger allemand');
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Chien'), 'Labrador retriever');
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Chien'), 'Golden retriever');
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Chien'), 'Staffordshire bull terrier');
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Chien'), 'Berger belge malinois');
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Chien'), 'Berger belge tervueren');
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Chien'), 'Berger belge groenendael');
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Chien'), 'Cavalier King Charles');
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Chien'), 'Bouledogue français');
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Chien'), 'Chihuahua');
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Chien'), 'Yorkshire terrier');
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Chien'), 'Jack Russell terrier');
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Chien'), 'Berger blanc suisse');
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Chien'), 'Cane corso');
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Chien'), 'Beagle');
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Chien'), 'Border collie');
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Chien'), 'Teckel');
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Chien'), 'Épagneul breton');
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Chien'), 'Épagneul français');
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Chien'), 'Setter anglais');
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Chien'), 'Setter irlandais');
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Chien'), 'Shih tzu');
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Chien'), 'Spitz allemand');
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Chien'), 'Berger d''Anatolie');
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Chien'), 'Bichon frisé');
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Chien'), 'Bichon maltais');
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Chien'), 'Bichon havanais');
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Chien'), 'Coton de Tuléar');
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Chien'), 'Caniche');
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Chien'), 'Bouvier bernois');
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Chien'), 'Bouvier des Flandres');
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Chien'), 'Rottweiler');
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Chien'), 'Dobermann');
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Chien'), 'Boxer');
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Chien'), 'Dogue allemand');
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Chien'), 'Dogue de Bordeaux');
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Chien'), 'American Staffordshire terrier');
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Chien'), 'Cocker anglais');
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Chien'), 'Cocker américain');
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Chien'), 'Springer anglais');
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Chien'), 'Braque allemand');
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Chien'), 'Braque de Weimar');
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Chien'), 'Braque français');
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Chien'), 'Griffon korthals');
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Chien'), 'Husky sibérien');
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Chien'), 'Malamute de l''Alaska');
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Chien'), 'Samoyède');
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Chien'), 'Chien-loup tchécoslovaque');
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Chien'), 'Shiba');
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Chien'), 'Akita inu');
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Chien'), 'Lhassa apso');
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Chien'), 'Carlin');
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Chien'), 'Bouledogue anglais');
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Chien'), 'Bull terrier');
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Chien'), 'West Highland white terrier');
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Chien'), 'Cairn terrier');
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Chien'), 'Fox terrier');
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Chien'), 'Schnauzer');
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Chien'), 'Schnauzer nain');
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Chien'), 'Pinscher nain');
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Chien'), 'Berger des Pyrénées');
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Chien'), 'Berger de Beauce (beauceron)');
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Chien'), 'Berger de Brie (briard)');
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Chien'), 'Berger des Shetland');
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Chien'), 'Colley');
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Chien'), 'Chien de montagne des Pyrénées (patou)');
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Chien'), 'Terre-neuve');
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Chien'), 'Saint-bernard');
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Chien'), 'Leonberg');
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Chien'), 'Whippet');
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Chien'), 'Basset hound');
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Chien'), 'Basset griffon vendéen');
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Chien'), 'Shar-pei');
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Chien'), 'Chow-chow');
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Chien'), 'Eurasier');
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Chien'), 'Welsh corgi pembroke');
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Chien'), 'Épagneul nain continental (papillon)');
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Chien'), 'Croisé');

-- Cat breeds, with the names used by the French feline registry.
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Chat'), 'Européen');
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Chat'), 'Maine coon');
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Chat'), 'Sacré de Birmanie');
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Chat'), 'Persan');
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Chat'), 'Exotic shorthair');
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Chat'), 'British shorthair');
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Chat'), 'British longhair');
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Chat'), 'Bengal');
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Chat'), 'Ragdoll');
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Chat'), 'Siamois');
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Chat'), 'Oriental');
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Chat'), 'Balinais');
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Chat'), 'Chartreux');
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Chat'), 'Sphynx');
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Chat'), 'Norvégien');
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Chat'), 'Sibérien');
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Chat'), 'Scottish fold');
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Chat'), 'Abyssin');
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Chat'), 'Somali');
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Chat'), 'Angora turc');
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Chat'), 'Turc de Van');
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Chat'), 'Bleu russe');
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Chat'), 'Devon rex');
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Chat'), 'Cornish rex');
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Chat'), 'Selkirk rex');
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Chat'), 'Burmese');
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Chat'), 'Burmilla');
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Chat'), 'Tonkinois');
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Chat'), 'Savannah');
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Chat'), 'Ocicat');
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Chat'), 'Bombay');
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Chat'), 'Mau égyptien');
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Chat'), 'American curl');
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Chat'), 'Croisé');

-- Rabbit breeds.
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Lapin'), 'Bélier nain');
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Lapin'), 'Nain de couleur');
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Lapin'), 'Tête de lion');
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Lapin'), 'Rex');
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Lapin'), 'Hollandais');
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Lapin'), 'Angora');
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Lapin'), 'Géant des Flandres');
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Lapin'), 'Fauve de Bourgogne');
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Lapin'), 'Papillon');
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Lapin'), 'Californien');
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Lapin'), 'Croisé');

-- Ferrets have no breeds; owners name them by coat variety.
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Furet'), 'Putoisé');
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Furet'), 'Albinos');
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Furet'), 'Argenté');
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Furet'), 'Champagne');
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Furet'), 'Chocolat');
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Furet'), 'Panda');

-- Guinea pig breeds.
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Cochon d''Inde'), 'Anglais (poil court)');
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Cochon d''Inde'), 'Abyssin');
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Cochon d''Inde'), 'Péruvien');
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Cochon d''Inde'), 'Sheltie');
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Cochon d''Inde'), 'Couronné');
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Cochon d''Inde'), 'Texel');
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Cochon d''Inde'), 'Teddy');
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Cochon d''Inde'), 'Skinny (sans poils)');
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Cochon d''Inde'), 'Croisé');

-- Hamsters: the common pet species.
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Hamster'), 'Hamster doré (syrien)');
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Hamster'), 'Hamster russe');
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Hamster'), 'Hamster de Roborovski');
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Hamster'), 'Hamster de Chine');

-- Horse and pony breeds; "ONC" is the French studbook term for an undocumented origin.
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Cheval'), 'Selle français');
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Cheval'), 'Pur-sang');
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Cheval'), 'Trotteur français');
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Cheval'), 'Anglo-arabe');
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Cheval'), 'Pur-sang arabe');
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Cheval'), 'Cob normand');
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Cheval'), 'Percheron');
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Cheval'), 'Comtois');
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Cheval'), 'Frison');
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Cheval'), 'Lusitanien');
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Cheval'), 'Pure race espagnole (PRE)');
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Cheval'), 'Camargue');
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Cheval'), 'Mérens');
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Cheval'), 'Quarter horse');
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Cheval'), 'Appaloosa');
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Cheval'), 'Origine non constatée (ONC)');
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Poney'), 'Poney français de selle');
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Poney'), 'Shetland');
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Poney'), 'Connemara');
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Poney'), 'Welsh');
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Poney'), 'Haflinger');
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Poney'), 'Fjord');
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Poney'), 'Pottok');
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Poney'), 'Origine non constatée (ONC)');

-- Birds: the usual kinds kept at home.
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Perroquet'), 'Gris du Gabon');
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Perroquet'), 'Amazone');
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Perroquet'), 'Ara');
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Perroquet'), 'Cacatoès');
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Perroquet'), 'Éclectus');
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Perroquet'), 'Youyou du Sénégal');
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Perruche'), 'Perruche ondulée');
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Perruche'), 'Calopsitte élégante');
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Perruche'), 'Inséparable');
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Perruche'), 'Perruche à collier');
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Perruche'), 'Conure soleil');
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Canari'), 'Canari de couleur');
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Canari'), 'Canari de posture');
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Canari'), 'Canari de chant');

-- Tortoises kept in France.
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Tortue'), 'Tortue d''Hermann');
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Tortue'), 'Tortue grecque');
INSERT INTO ANIMAL_BREED (Id_File, Id_Species, Title) VALUES (0, (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Tortue'), 'Tortue des steppes (Horsfield)');

-- Vaccines. Core valences of dogs and cats are boosted no more often than every three years
-- after the 6- or 12-month booster; most other valences are boosted every year.
INSERT INTO LST_VACCINE (Title, Description, Category) VALUES ('CHP (Carré, hépatite, parvovirose)', 'Valences essentielles du chien. Chiot : dès 6-8 semaines, toutes les 2-4 semaines jusqu''à 16 semaines ou plus, rappel à 6 mois ou 1 an, puis tous les 3 ans.', 'Chien');
INSERT INTO LST_VACCINE (Title, Description, Category) VALUES ('CHPPi (Carré, hépatite, parvovirose, parainfluenza)', 'Valences essentielles et parainfluenza. Primovaccination du chiot comme pour le CHP. Rappel annuel du parainfluenza, tous les 3 ans pour CHP.', 'Chien');
INSERT INTO LST_VACCINE (Title, Description, Category) VALUES ('CHPPiL4 (Carré, hépatite, parvovirose, parainfluenza, leptospirose)', 'Vaccin polyvalent courant. Chiot : injections de 8 à 16 semaines ou plus, rappel à 1 an, puis chaque année pour leptospirose et parainfluenza, tous les 3 ans pour CHP.', 'Chien');
INSERT INTO LST_VACCINE (Title, Description, Category) VALUES ('CHPPiL4R (CHPPiL4 et rage)', 'Vaccin polyvalent incluant la rage, utilisable dès 12 semaines. Rappel annuel, la rage selon la durée de validité du vaccin.', 'Chien');
INSERT INTO LST_VACCINE (Title, Description, Category) VALUES ('Maladie de Carré (C)', 'Maladie virale grave (fièvre, toux, troubles digestifs et nerveux). Dès 6-8 semaines, toutes les 2-4 semaines jusqu''à 16 semaines ou plus, rappel à 6 mois ou 1 an, puis tous les 3 ans.', 'Chien');
INSERT INTO LST_VACCINE (Title, Description, Category) VALUES ('Hépatite de Rubarth (H)', 'Hépatite infectieuse canine (adénovirus). Même protocole que la maladie de Carré, rappel à 6 mois ou 1 an, puis tous les 3 ans.', 'Chien');
INSERT INTO LST_VACCINE (Title, Description, Category) VALUES ('Parvovirose (P)', 'Gastro-entérite hémorragique souvent mortelle chez le chiot. Dès 6-8 semaines, toutes les 2-4 semaines jusqu''à 16 semaines ou plus, rappel à 6 mois ou 1 an, puis tous les 3 ans.', 'Chien');
INSERT INTO LST_VACCINE (Title, Description, Category) VALUES ('Parainfluenza (Pi)', 'Virus de la toux de chenil. Deux injections chez le chiot, puis rappel annuel.', 'Chien');
INSERT INTO LST_VACCINE (Title, Description, Category) VALUES ('Leptospirose (L4)', 'Maladie bactérienne grave transmise par l''urine des rongeurs et l''eau, transmissible à l''homme. Deux injections à 2-4 semaines d''intervalle dès 8 semaines, puis rappel annuel.', 'Chien');
INSERT INTO LST_VACCINE (Title, Description, Category) VALUES ('Rage (R)', 'Zoonose mortelle. Vaccin exigé pour voyager et pour certains chiens. Une injection dès 12 semaines, rappel selon la durée de validité du vaccin (1 à 3 ans).', 'Chien, Chat');
INSERT INTO LST_VACCINE (Title, Description, Category) VALUES ('Toux de chenil (Bordetella, parainfluenza)', 'Trachéobronchite infectieuse contagieuse. Vaccin intranasal ou oral conseillé avant pension ou rassemblement. Une administration, puis rappel annuel.', 'Chien');
INSERT INTO LST_VACCINE (Title, Description, Category) VALUES ('Piroplasmose (babésiose)', 'Maladie transmise par les tiques qui détruit les globules rouges. Dès 5 mois : deux injections à 3-6 semaines d''intervalle, rappel annuel, tous les 6 mois en zone à risque.', 'Chien');
INSERT INTO LST_VACCINE (Title, Description, Category) VALUES ('Leishmaniose', 'Maladie parasitaire transmise par les phlébotomes (sud de la France). Chien de plus de 6 mois dépisté négatif : primovaccination selon le vaccin, puis rappel annuel.', 'Chien');
INSERT INTO LST_VACCINE (Title, Description, Category) VALUES ('Maladie de Lyme (borréliose)', 'Maladie transmise par les tiques. Dès 12 semaines : deux injections à 3 semaines d''intervalle, puis rappel annuel.', 'Chien');
INSERT INTO LST_VACCINE (Title, Description, Category) VALUES ('Herpèsvirose canine', 'Cause de mortalité des chiots nouveau-nés. Chienne reproductrice : une injection pendant les chaleurs ou peu après la saillie, une autre 1 à 2 semaines avant la mise bas, à chaque gestation.', 'Chien');
INSERT INTO LST_VACCINE (Title, Description, Category) VALUES ('Typhus (panleucopénie, P)', 'Valence essentielle du chat. Chaton : dès 6-8 semaines, toutes les 2-4 semaines jusqu''à 16 semaines ou plus, rappel à 6 mois ou 1 an, puis tous les 3 ans.', 'Chat');
INSERT INTO LST_VACCINE (Title, Description, Category) VALUES ('Coryza (herpèsvirus et calicivirus, RC)', 'Valences essentielles du chat, primovaccination comme le typhus. Rappel tous les 3 ans si le risque est faible, chaque année si le chat sort, vit en groupe ou va en pension.', 'Chat');
INSERT INTO LST_VACCINE (Title, Description, Category) VALUES ('RCP (coryza et typhus)', 'Vaccin de base du chat (rhinotrachéite, calicivirose, panleucopénie). Chaton : injections de 8 à 16 semaines ou plus, rappel à 1 an, puis tous les 1 à 3 ans selon le mode de vie.', 'Chat');
INSERT INTO LST_VACCINE (Title, Description, Category) VALUES ('Leucose féline (FeLV)', 'Conseillée pour tout chaton et pour le chat qui sort. Chat testé négatif : deux injections à 3-4 semaines d''intervalle dès 8 semaines, rappel à 1 an, puis tous les 2-3 ans si le risque persiste.', 'Chat');
INSERT INTO LST_VACCINE (Title, Description, Category) VALUES ('Chlamydiose', 'Conjonctivite bactérienne des chats vivant en collectivité. Dès 8-9 semaines : deux injections à 3-4 semaines d''intervalle, puis rappel annuel.', 'Chat');
INSERT INTO LST_VACCINE (Title, Description, Category) VALUES ('Myxomatose', 'Maladie virale transmise par les insectes piqueurs et les contacts. Dès 5 semaines, rappel annuel, tous les 6 mois en zone de forte circulation.', 'Lapin');
INSERT INTO LST_VACCINE (Title, Description, Category) VALUES ('VHD 1 et 2 (maladie hémorragique virale)', 'Maladie hémorragique virale du lapin, souvent mortelle (types 1 et 2). Dès 5 à 10 semaines selon le vaccin, puis rappel annuel.', 'Lapin');
INSERT INTO LST_VACCINE (Title, Description, Category) VALUES ('Myxomatose et VHD 1 et 2 (vaccin combiné)', 'Une injection dès 5 semaines protège contre la myxomatose et la maladie hémorragique virale de types 1 et 2. Rappel annuel.', 'Lapin');
INSERT INTO LST_VACCINE (Title, Description, Category) VALUES ('Maladie de Carré', 'Maladie virale presque toujours mortelle chez le furet. Injections vers 8 et 12 semaines avec le vaccin choisi par le vétérinaire, puis rappel annuel.', 'Furet');
INSERT INTO LST_VACCINE (Title, Description, Category) VALUES ('Rage (R)', 'Exigée pour voyager hors de France. Une injection dès 12 semaines, rappel selon la durée de validité du vaccin.', 'Furet');
INSERT INTO LST_VACCINE (Title, Description, Category) VALUES ('Grippe équine', 'Maladie respiratoire très contagieuse. Deux injections à 4-6 semaines d''intervalle, troisième 5 à 6 mois plus tard, puis rappel annuel, tous les 6 mois pour les chevaux de compétition.', 'Cheval');
INSERT INTO LST_VACCINE (Title, Description, Category) VALUES ('Tétanos', 'Maladie souvent mortelle contractée par une plaie souillée. Deux injections à 4-6 semaines d''intervalle, rappel à 1 an, puis tous les 2 à 3 ans selon le vaccin.', 'Cheval');
INSERT INTO LST_VACCINE (Title, Description, Category) VALUES ('Grippe équine et tétanos (vaccin combiné)', 'Vaccin associé utilisé quand les deux valences sont dues en même temps, en primovaccination ou en rappel.', 'Cheval');
INSERT INTO LST_VACCINE (Title, Description, Category) VALUES ('Rhinopneumonie (EHV-1, EHV-4)', 'Herpèsvirus équins : maladie respiratoire, avortements. Deux injections à 4-6 semaines d''intervalle, rappel tous les 6 mois. Jument gestante : 5e, 7e et 9e mois.', 'Cheval');

-- Pathologies. Gravity uses the words of the Action_Gravity value list.
INSERT INTO LST_ILLNESS (Title, Description, Category, Gravity) VALUES ('Otite externe', 'Inflammation du conduit auditif (bactéries, levures, allergie, corps étranger) : grattage, secouements de tête, odeur.', 'Chien, Chat', 'Modérée');
INSERT INTO LST_ILLNESS (Title, Description, Category, Gravity) VALUES ('Otite moyenne ou interne', 'Atteinte de l''oreille moyenne ou interne, souvent après une otite externe : douleur, tête penchée, perte d''équilibre.', 'Chien, Chat', 'Grave');
INSERT INTO LST_ILLNESS (Title, Description, Category, Gravity) VALUES ('Gale des oreilles (otacariose)', 'Acariens du conduit auditif, très contagieux entre animaux : cérumen noirâtre et démangeaisons.', 'Chien, Chat', 'Bénigne');
INSERT INTO LST_ILLNESS (Title, Description, Category, Gravity) VALUES ('Gastro-entérite', 'Vomissements et diarrhée d''origine alimentaire, infectieuse ou parasitaire. Surveiller la déshydratation.', 'Chien, Chat', 'Modérée');
INSERT INTO LST_ILLNESS (Title, Description, Category, Gravity) VALUES ('Corps étranger digestif', 'Objet avalé bloquant l''estomac ou l''intestin : vomissements répétés, abattement. Urgence souvent chirurgicale.', 'Chien, Chat', 'Grave');
INSERT INTO LST_ILLNESS (Title, Description, Category, Gravity) VALUES ('Pancréatite', 'Inflammation du pancréas : vomissements, douleur abdominale, perte d''appétit.', 'Chien, Chat', 'Grave');
INSERT INTO LST_ILLNESS (Title, Description, Category, Gravity) VALUES ('Torsion-dilatation de l''estomac', 'Estomac dilaté qui tourne sur lui-même, surtout chez les grands chiens : ventre gonflé, efforts de vomissement sans résultat. Urgence vitale.', 'Chien', 'Grave');
INSERT INTO LST_ILLNESS (Title, Description, Category, Gravity) VALUES ('Parasitisme intestinal', 'Vers ronds ou plats, giardias : diarrhée, amaigrissement, ventre gonflé chez le jeune. Vermifugation régulière.', 'Chien, Chat', 'Bénigne');
INSERT INTO LST_ILLNESS (Title, Description, Category, Gravity) VALUES ('Engorgement des glandes anales', 'Glandes anales pleines ou infectées : l''animal se frotte l''arrière-train au sol ou se lèche.', 'Chien, Chat', 'Bénigne');
INSERT INTO LST_ILLNESS (Title, Description, Category, Gravity) VALUES ('Dermatite atopique', 'Allergie cutanée chronique aux allergènes de l''environnement : démangeaisons, rougeurs, otites à répétition.', 'Chien, Chat', 'Modérée');
INSERT INTO LST_ILLNESS (Title, Description, Category, Gravity) VALUES ('Dermatite par allergie aux piqûres de puces (DAPP)', 'Réaction allergique à la salive des puces : démangeaisons intenses, surtout du dos et de la base de la queue.', 'Chien, Chat', 'Modérée');
INSERT INTO LST_ILLNESS (Title, Description, Category, Gravity) VALUES ('Allergie alimentaire', 'Réaction à un composant de l''aliment : démangeaisons et parfois troubles digestifs. Diagnostic par régime d''éviction.', 'Chien, Chat', 'Modérée');
INSERT INTO LST_ILLNESS (Title, Description, Category, Gravity) VALUES ('Infestation par puces ou tiques', 'Parasites externes à traiter sur l''animal et dans l''environnement. Les tiques transmettent plusieurs maladies.', 'Chien, Chat', 'Bénigne');
INSERT INTO LST_ILLNESS (Title, Description, Category, Gravity) VALUES ('Pyodermite', 'Infection bactérienne de la peau, souvent secondaire à une allergie : boutons, croûtes, dépilations.', 'Chien', 'Modérée');
INSERT INTO LST_ILLNESS (Title, Description, Category, Gravity) VALUES ('Gale sarcoptique', 'Acarien très contagieux, transmissible à l''homme : démangeaisons intenses des oreilles, coudes et ventre.', 'Chien', 'Modérée');
INSERT INTO LST_ILLNESS (Title, Description, Category, Gravity) VALUES ('Démodécie', 'Prolifération d''acariens des follicules pileux : dépilations, parfois infection cutanée étendue.', 'Chien', 'Modérée');
INSERT INTO LST_ILLNESS (Title, Description, Category, Gravity) VALUES ('Teigne (dermatophytose)', 'Champignon de la peau et des poils, transmissible à l''homme : dépilations arrondies. Traiter aussi l''environnement.', 'Chien, Chat', 'Modérée');
INSERT INTO LST_ILLNESS (Title, Description, Category, Gravity) VALUES ('Plaie, morsure ou abcès', 'Blessure cutanée ou abcès après une bagarre : nettoyage, parfois suture et antibiotique.', 'Chien, Chat', 'Bénigne');
INSERT INTO LST_ILLNESS (Title, Description, Category, Gravity) VALUES ('Insuffisance rénale chronique', 'Perte progressive de la fonction des reins : soif, urines abondantes, amaigrissement. Suivi sanguin et alimentation adaptée.', 'Chien, Chat', 'Grave');
INSERT INTO LST_ILLNESS (Title, Description, Category, Gravity) VALUES ('Insuffisance rénale aiguë', 'Arrêt brutal de la fonction des reins (intoxication, infection, obstruction) : urgence.', 'Chien, Chat', 'Grave');
INSERT INTO LST_ILLNESS (Title, Description, Category, Gravity) VALUES ('Cystite', 'Inflammation de la vessie : envies fréquentes, urines rares ou sanglantes.', 'Chien, Chat', 'Modérée');
INSERT INTO LST_ILLNESS (Title, Description, Category, Gravity) VALUES ('Cystite idiopathique féline', 'Cystite sans infection favorisée par le stress et le manque d''abreuvement, récidives fréquentes.', 'Chat', 'Modérée');
INSERT INTO LST_ILLNESS (Title, Description, Category, Gravity) VALUES ('Calculs urinaires (urolithiase)', 'Cristaux ou calculs dans la vessie ou l''urètre (struvites, oxalates) : sang dans les urines, difficulté à uriner.', 'Chien, Chat', 'Modérée');
INSERT INTO LST_ILLNESS (Title, Description, Category, Gravity) VALUES ('Obstruction urinaire', 'Urètre bouché, surtout chez le chat mâle : efforts pour uriner sans résultat. Urgence vitale.', 'Chat', 'Grave');
INSERT INTO LST_ILLNESS (Title, Description, Category, Gravity) VALUES ('Diabète sucré', 'Excès de sucre dans le sang : soif, urines abondantes, amaigrissement malgré l''appétit. Traitement par insuline.', 'Chien, Chat', 'Grave');
INSERT INTO LST_ILLNESS (Title, Description, Category, Gravity) VALUES ('Hypothyroïdie', 'Insuffisance de la thyroïde : prise de poids, fatigue, perte de poils. Traitement hormonal à vie.', 'Chien', 'Modérée');
INSERT INTO LST_ILLNESS (Title, Description, Category, Gravity) VALUES ('Hyperthyroïdie', 'Excès d''hormones thyroïdiennes du chat âgé : amaigrissement malgré un grand appétit, agitation, vomissements.', 'Chat', 'Modérée');
INSERT INTO LST_ILLNESS (Title, Description, Category, Gravity) VALUES ('Syndrome de Cushing (hypercorticisme)', 'Excès de cortisol : soif, urines abondantes, ventre gonflé, perte de poils.', 'Chien', 'Modérée');
INSERT INTO LST_ILLNESS (Title, Description, Category, Gravity) VALUES ('Obésité', 'Excès de poids favorisant arthrose, diabète et troubles cardiaques. Ration et activité à adapter.', 'Chien, Chat', 'Modérée');
INSERT INTO LST_ILLNESS (Title, Description, Category, Gravity) VALUES ('Arthrose', 'Usure chronique des articulations : raideur au lever, boiterie, baisse d''activité.', 'Chien, Chat', 'Modérée');
INSERT INTO LST_ILLNESS (Title, Description, Category, Gravity) VALUES ('Dysplasie de la hanche', 'Malformation héréditaire de la hanche des chiens de grande taille, évoluant vers l''arthrose.', 'Chien', 'Modérée');
INSERT INTO LST_ILLNESS (Title, Description, Category, Gravity) VALUES ('Rupture du ligament croisé', 'Rupture du ligament du genou : boiterie soudaine d''un membre postérieur. Traitement souvent chirurgical.', 'Chien', 'Modérée');
INSERT INTO LST_ILLNESS (Title, Description, Category, Gravity) VALUES ('Luxation de la rotule', 'Rotule qui sort de sa gouttière, fréquente chez les petites races : boiterie intermittente.', 'Chien', 'Modérée');
INSERT INTO LST_ILLNESS (Title, Description, Category, Gravity) VALUES ('Hernie discale', 'Compression de la moelle épinière par un disque : douleur du dos, voire paralysie. Urgence.', 'Chien', 'Grave');
INSERT INTO LST_ILLNESS (Title, Description, Category, Gravity) VALUES ('Parodontite et tartre', 'Dépôt de tartre et inflammation des gencives : mauvaise haleine, déchaussement des dents. Détartrage.', 'Chien, Chat', 'Modérée');
INSERT INTO LST_ILLNESS (Title, Description, Category, Gravity) VALUES ('Conjonctivite', 'Inflammation de la conjonctive : œil rouge, larmoiement ou écoulement.', 'Chien, Chat', 'Bénigne');
INSERT INTO LST_ILLNESS (Title, Description, Category, Gravity) VALUES ('Ulcère de la cornée', 'Plaie de la surface de l''œil : œil fermé, larmoiement, douleur. Consulter rapidement.', 'Chien, Chat', 'Modérée');
INSERT INTO LST_ILLNESS (Title, Description, Category, Gravity) VALUES ('Cataracte', 'Opacification du cristallin entraînant une baisse de vision, fréquente chez le chien diabétique.', 'Chien, Chat', 'Modérée');
INSERT INTO LST_ILLNESS (Title, Description, Category, Gravity) VALUES ('Glaucome', 'Hausse de la pression dans l''œil, douloureuse et menaçant la vision : urgence.', 'Chien, Chat', 'Grave');
INSERT INTO LST_ILLNESS (Title, Description, Category, Gravity) VALUES ('Maladie valvulaire mitrale', 'Dégénérescence d''une valve du cœur, fréquente chez les petites races âgées : souffle, puis toux et essoufflement.', 'Chien', 'Grave');
INSERT INTO LST_ILLNESS (Title, Description, Category, Gravity) VALUES ('Cardiomyopathie', 'Maladie du muscle cardiaque (hypertrophique chez le chat, dilatée chez le grand chien) pouvant causer insuffisance cardiaque ou thrombose.', 'Chien, Chat', 'Grave');
INSERT INTO LST_ILLNESS (Title, Description, Category, Gravity) VALUES ('Insuffisance cardiaque', 'Le cœur ne pompe plus assez : toux, essoufflement, fatigue à l''effort, ventre gonflé.', 'Chien, Chat', 'Grave');
INSERT INTO LST_ILLNESS (Title, Description, Category, Gravity) VALUES ('Syndrome obstructif des races brachycéphales', 'Voies respiratoires rétrécies des races à face écrasée : ronflements, essoufflement, intolérance à la chaleur.', 'Chien', 'Modérée');
INSERT INTO LST_ILLNESS (Title, Description, Category, Gravity) VALUES ('Épilepsie', 'Crises convulsives répétées. Noter la date et la durée des crises. Traitement au long cours.', 'Chien, Chat', 'Grave');
INSERT INTO LST_ILLNESS (Title, Description, Category, Gravity) VALUES ('Pyomètre', 'Infection de l''utérus de la femelle non stérilisée, quelques semaines après les chaleurs : urgence souvent chirurgicale.', 'Chien, Chat', 'Grave');
INSERT INTO LST_ILLNESS (Title, Description, Category, Gravity) VALUES ('Tumeur mammaire', 'Nodule des mamelles, fréquent chez la femelle non stérilisée, souvent malin chez la chatte.', 'Chien, Chat', 'Grave');
INSERT INTO LST_ILLNESS (Title, Description, Category, Gravity) VALUES ('Intoxication', 'Ingestion d''un toxique (raticide, chocolat, lis chez le chat, antiparasitaire pour chien chez le chat) : urgence.', 'Chien, Chat', 'Grave');
INSERT INTO LST_ILLNESS (Title, Description, Category, Gravity) VALUES ('Coup de chaleur', 'Hausse brutale de la température du corps (voiture, effort par temps chaud) : halètement, effondrement. Urgence vitale.', 'Chien, Chat', 'Grave');
INSERT INTO LST_ILLNESS (Title, Description, Category, Gravity) VALUES ('Leishmaniose', 'Maladie parasitaire transmise par les phlébotomes : amaigrissement, lésions de peau, atteinte rénale. Traitement au long cours.', 'Chien', 'Grave');
INSERT INTO LST_ILLNESS (Title, Description, Category, Gravity) VALUES ('Piroplasmose (babésiose)', 'Parasite des globules rouges transmis par les tiques : fièvre, abattement, urines foncées. Urgence.', 'Chien', 'Grave');
INSERT INTO LST_ILLNESS (Title, Description, Category, Gravity) VALUES ('Leptospirose', 'Maladie bactérienne transmise par l''urine des rongeurs, atteignant reins et foie, transmissible à l''homme.', 'Chien', 'Grave');
INSERT INTO LST_ILLNESS (Title, Description, Category, Gravity) VALUES ('Parvovirose', 'Gastro-entérite virale hémorragique, surtout du chiot non vacciné : vomissements, diarrhée sanglante.', 'Chien', 'Grave');
INSERT INTO LST_ILLNESS (Title, Description, Category, Gravity) VALUES ('Toux de chenil', 'Trachéobronchite infectieuse contagieuse : toux sèche quinteuse après un séjour en collectivité.', 'Chien', 'Bénigne');
INSERT INTO LST_ILLNESS (Title, Description, Category, Gravity) VALUES ('Coryza', 'Infection respiratoire virale du chat (herpèsvirus, calicivirus) : éternuements, écoulements du nez et des yeux, ulcères buccaux.', 'Chat', 'Modérée');
INSERT INTO LST_ILLNESS (Title, Description, Category, Gravity) VALUES ('Typhus (panleucopénie féline)', 'Maladie virale grave du chaton non vacciné : vomissements, diarrhée, chute des globules blancs.', 'Chat', 'Grave');
INSERT INTO LST_ILLNESS (Title, Description, Category, Gravity) VALUES ('Leucose féline (FeLV)', 'Infection virale chronique : baisse des défenses, anémie, lymphomes. Dépistage par test sanguin.', 'Chat', 'Grave');
INSERT INTO LST_ILLNESS (Title, Description, Category, Gravity) VALUES ('Immunodéficience féline (FIV)', 'Virus du « sida du chat » transmis par morsure : infections chroniques, gingivite. Dépistage par test sanguin.', 'Chat', 'Grave');
INSERT INTO LST_ILLNESS (Title, Description, Category, Gravity) VALUES ('Péritonite infectieuse féline (PIF)', 'Forme grave d''infection à coronavirus du jeune chat : fièvre, épanchement abdominal. Un traitement antiviral existe.', 'Chat', 'Grave');

-- Treatments by family, named by active substance rather than by brand.
INSERT INTO LST_DRUG (Title, Description, Category) VALUES ('Antiparasitaire externe en pipette', 'Solution appliquée sur la peau contre puces et tiques, à renouveler selon la durée d''action. Ne jamais appliquer un produit pour chien sur un chat.', 'Antiparasitaire externe');
INSERT INTO LST_DRUG (Title, Description, Category) VALUES ('Antiparasitaire externe en comprimé', 'Comprimé contre puces et tiques (isoxazolines), actif 1 à 3 mois selon le produit.', 'Antiparasitaire externe');
INSERT INTO LST_DRUG (Title, Description, Category) VALUES ('Collier antiparasitaire', 'Protection de plusieurs mois contre puces et tiques. Certains colliers protègent aussi des phlébotomes.', 'Antiparasitaire externe');
INSERT INTO LST_DRUG (Title, Description, Category) VALUES ('Vermifuge à large spectre', 'Contre vers ronds et vers plats. Chiot et chaton : toutes les 2 semaines jusqu''à 8 semaines, puis chaque mois jusqu''à 6 mois. Adulte : au moins 4 fois par an si le risque n''est pas évalué.', 'Vermifuge');
INSERT INTO LST_DRUG (Title, Description, Category) VALUES ('Amoxicilline - acide clavulanique', 'Antibiotique à large spectre (peau, voies urinaires et respiratoires, plaies). Respecter la durée prescrite.', 'Antibiotique');
INSERT INTO LST_DRUG (Title, Description, Category) VALUES ('Doxycycline', 'Antibiotique des infections respiratoires et de maladies transmises par les tiques. Chez le chat, faire suivre d''eau ou d''un peu de nourriture pour protéger l''œsophage.', 'Antibiotique');
INSERT INTO LST_DRUG (Title, Description, Category) VALUES ('Métronidazole', 'Antibiotique et antiparasitaire utilisé lors de certaines diarrhées (giardiose) et infections.', 'Antibiotique');
INSERT INTO LST_DRUG (Title, Description, Category) VALUES ('Méloxicam', 'Anti-inflammatoire contre la douleur et l''inflammation (arthrose, chirurgie). Ne jamais associer à un corticoïde ni à un autre anti-inflammatoire.', 'Anti-inflammatoire non stéroïdien');
INSERT INTO LST_DRUG (Title, Description, Category) VALUES ('Anticorps monoclonal anti-NGF', 'Injection mensuelle contre la douleur de l''arthrose du chien ou du chat.', 'Antalgique');
INSERT INTO LST_DRUG (Title, Description, Category) VALUES ('Prednisolone', 'Corticoïde anti-inflammatoire et immunosuppresseur (allergies, maladies auto-immunes). Ne pas arrêter brutalement un traitement prolongé.', 'Corticoïde');
INSERT INTO LST_DRUG (Title, Description, Category) VALUES ('Oclacitinib', 'Traitement des démangeaisons de la dermatite allergique et atopique du chien.', 'Antiprurigineux');
INSERT INTO LST_DRUG (Title, Description, Category) VALUES ('Maropitant', 'Contre les vomissements et le mal des transports.', 'Antiémétique');
INSERT INTO LST_DRUG (Title, Description, Category) VALUES ('Pansement gastro-intestinal', 'Argile (smectite, montmorillonite) ou sucralfate protégeant la muqueuse digestive. Donner à distance des autres médicaments.', 'Pansement gastrique');
INSERT INTO LST_DRUG (Title, Description, Category) VALUES ('Oméprazole', 'Réduit l''acidité de l''estomac (ulcère, gastrite, reflux).', 'Protecteur gastrique');
INSERT INTO LST_DRUG (Title, Description, Category) VALUES ('Probiotiques', 'Complément rééquilibrant la flore intestinale lors de diarrhée ou de changement d''alimentation.', 'Complément alimentaire');
INSERT INTO LST_DRUG (Title, Description, Category) VALUES ('Complément articulaire', 'Chondroïtine, glucosamine ou oméga-3 pour soutenir les articulations lors d''arthrose.', 'Complément alimentaire');
INSERT INTO LST_DRUG (Title, Description, Category) VALUES ('Collyre antibiotique', 'Traitement local des conjonctivites et kératites bactériennes. Nettoyer l''œil avant application.', 'Collyre');
INSERT INTO LST_DRUG (Title, Description, Category) VALUES ('Larmes artificielles (gel ou collyre lubrifiant)', 'Protège et hydrate la cornée, notamment lors de sécheresse oculaire.', 'Collyre');
INSERT INTO LST_DRUG (Title, Description, Category) VALUES ('Nettoyant auriculaire', 'Nettoie le conduit auditif, en entretien ou avant un traitement auriculaire.', 'Soin auriculaire');
INSERT INTO LST_DRUG (Title, Description, Category) VALUES ('Traitement auriculaire (antibiotique, antifongique, corticoïde)', 'Suspension à instiller dans l''oreille lors d''otite externe, après nettoyage du conduit.', 'Soin auriculaire');
INSERT INTO LST_DRUG (Title, Description, Category) VALUES ('Shampooing antiseptique (chlorhexidine)', 'Shampooing des infections de la peau. Laisser agir 5 à 10 minutes avant de rincer.', 'Soin cutané');
INSERT INTO LST_DRUG (Title, Description, Category) VALUES ('Aliment thérapeutique rénal', 'Aliment pauvre en phosphore et modéré en protéines pour l''insuffisance rénale chronique.', 'Aliment thérapeutique');
INSERT INTO LST_DRUG (Title, Description, Category) VALUES ('Aliment thérapeutique urinaire', 'Aliment dissolvant ou prévenant certains calculs urinaires (struvites), conseillé aussi lors de cystite idiopathique féline.', 'Aliment thérapeutique');
INSERT INTO LST_DRUG (Title, Description, Category) VALUES ('Aliment hypoallergénique', 'Aliment à protéines hydrolysées ou à source unique de protéines, pour le diagnostic et le traitement de l''allergie alimentaire.', 'Aliment thérapeutique');
INSERT INTO LST_DRUG (Title, Description, Category) VALUES ('Aliment de perte de poids', 'Aliment hypocalorique riche en fibres pour l''animal en surpoids.', 'Aliment thérapeutique');
INSERT INTO LST_DRUG (Title, Description, Category) VALUES ('Bénazépril', 'Inhibiteur de l''enzyme de conversion, utilisé dans l''insuffisance cardiaque et la perte de protéines par les reins.', 'Cardiologie');
INSERT INTO LST_DRUG (Title, Description, Category) VALUES ('Pimobendane', 'Soutien du cœur du chien lors de maladie valvulaire ou de cardiomyopathie dilatée.', 'Cardiologie');
INSERT INTO LST_DRUG (Title, Description, Category) VALUES ('Lévothyroxine', 'Hormone thyroïdienne de l''hypothyroïdie du chien. Dose ajustée sur le dosage sanguin de la T4.', 'Endocrinologie');
INSERT INTO LST_DRUG (Title, Description, Category) VALUES ('Thiamazole', 'Antithyroïdien de l''hyperthyroïdie du chat. Contrôles sanguins réguliers (T4, fonction rénale).', 'Endocrinologie');
INSERT INTO LST_DRUG (Title, Description, Category) VALUES ('Insuline', 'Traitement du diabète sucré : injections sous la peau à heures fixes avec les repas. Conserver au réfrigérateur.', 'Endocrinologie');

-- Blood analyses: one row per species because a row holds a single interval.
-- Haematology.
INSERT INTO LST_ANALYSIS (Id_File, Title, Unit, Decimal, Description, Value_Min, Value_Max, Category) VALUES (0, 'Hématocrite (chien)', '%', 1, 'Chien : intervalle de référence adulte.', 35.0, 57.0, 'Hématologie');
INSERT INTO LST_ANALYSIS (Id_File, Title, Unit, Decimal, Description, Value_Min, Value_Max, Category) VALUES (0, 'Hématocrite (chat)', '%', 1, 'Chat : intervalle de référence adulte.', 30.0, 45.0, 'Hématologie');
INSERT INTO LST_ANALYSIS (Id_File, Title, Unit, Decimal, Description, Value_Min, Value_Max, Category) VALUES (0, 'Hémoglobine (chien)', 'g/L', 0, 'Chien : intervalle de référence adulte.', 120, 190, 'Hématologie');
INSERT INTO LST_ANALYSIS (Id_File, Title, Unit, Decimal, Description, Value_Min, Value_Max, Category) VALUES (0, 'Hémoglobine (chat)', 'g/L', 0, 'Chat : intervalle de référence adulte.', 100, 150, 'Hématologie');
INSERT INTO LST_ANALYSIS (Id_File, Title, Unit, Decimal, Description, Value_Min, Value_Max, Category) VALUES (0, 'Globules rouges (chien)', '10^12/L', 2, 'Chien : intervalle de référence adulte.', 5.00, 7.90, 'Hématologie');
INSERT INTO LST_ANALYSIS (Id_File, Title, Unit, Decimal, Description, Value_Min, Value_Max, Category) VALUES (0, 'Globules rouges (chat)', '10^12/L', 2, 'Chat : intervalle de référence adulte.', 5.00, 10.00, 'Hématologie');
INSERT INTO LST_ANALYSIS (Id_File, Title, Unit, Decimal, Description, Value_Min, Value_Max, Category) VALUES (0, 'Globules blancs (chien)', '10^9/L', 1, 'Chien : intervalle de référence adulte.', 5.0, 14.1, 'Hématologie');
INSERT INTO LST_ANALYSIS (Id_File, Title, Unit, Decimal, Description, Value_Min, Value_Max, Category) VALUES (0, 'Globules blancs (chat)', '10^9/L', 1, 'Chat : intervalle de référence adulte.', 5.5, 19.5, 'Hématologie');
INSERT INTO LST_ANALYSIS (Id_File, Title, Unit, Decimal, Description, Value_Min, Value_Max, Category) VALUES (0, 'Plaquettes (chien)', '10^9/L', 0, 'Chien : intervalle de référence adulte.', 211, 621, 'Hématologie');
INSERT INTO LST_ANALYSIS (Id_File, Title, Unit, Decimal, Description, Value_Min, Value_Max, Category) VALUES (0, 'Plaquettes (chat)', '10^9/L', 0, 'Chat : intervalle de référence adulte. Les amas de plaquettes du chat abaissent souvent le comptage automatique.', 300, 800, 'Hématologie');

-- Biochemistry, converted to SI units from the source's conventional units where needed.
INSERT INTO LST_ANALYSIS (Id_File, Title, Unit, Decimal, Description, Value_Min, Value_Max, Category) VALUES (0, 'Urée (chien)', 'mmol/L', 1, 'Chien : intervalle de référence adulte.', 2.5, 9.6, 'Biochimie');
INSERT INTO LST_ANALYSIS (Id_File, Title, Unit, Decimal, Description, Value_Min, Value_Max, Category) VALUES (0, 'Urée (chat)', 'mmol/L', 1, 'Chat : intervalle de référence adulte.', 5.7, 12.9, 'Biochimie');
INSERT INTO LST_ANALYSIS (Id_File, Title, Unit, Decimal, Description, Value_Min, Value_Max, Category) VALUES (0, 'Créatinine (chien)', 'µmol/L', 0, 'Chien : intervalle de référence adulte. Au-delà de 125 µmol/L, le vétérinaire évalue un stade IRIS de maladie rénale.', 44, 133, 'Biochimie');
INSERT INTO LST_ANALYSIS (Id_File, Title, Unit, Decimal, Description, Value_Min, Value_Max, Category) VALUES (0, 'Créatinine (chat)', 'µmol/L', 0, 'Chat : intervalle de référence adulte. Au-delà de 140 µmol/L, le vétérinaire évalue un stade IRIS de maladie rénale.', 80, 203, 'Biochimie');
INSERT INTO LST_ANALYSIS (Id_File, Title, Unit, Decimal, Description, Value_Min, Value_Max, Category) VALUES (0, 'SDMA (chien)', 'µg/dL', 0, 'Chien : intervalle de référence adulte. Une valeur durablement supérieure à 14 µg/dL évoque une baisse de la filtration rénale.', 0, 14, 'Biochimie');
INSERT INTO LST_ANALYSIS (Id_File, Title, Unit, Decimal, Description, Value_Min, Value_Max, Category) VALUES (0, 'SDMA (chat)', 'µg/dL', 0, 'Chat : intervalle de référence adulte. Une valeur durablement supérieure à 14 µg/dL évoque une baisse de la filtration rénale.', 0, 14, 'Biochimie');
INSERT INTO LST_ANALYSIS (Id_File, Title, Unit, Decimal, Description, Value_Min, Value_Max, Category) VALUES (0, 'Glucose (chien)', 'mmol/L', 2, 'Chien : intervalle de référence adulte, à jeun.', 3.89, 7.94, 'Biochimie');
INSERT INTO LST_ANALYSIS (Id_File, Title, Unit, Decimal, Description, Value_Min, Value_Max, Category) VALUES (0, 'Glucose (chat)', 'mmol/L', 2, 'Chat : intervalle de référence adulte, à jeun. Le stress du prélèvement peut l''augmenter nettement.', 3.94, 8.83, 'Biochimie');
INSERT INTO LST_ANALYSIS (Id_File, Title, Unit, Decimal, Description, Value_Min, Value_Max, Category) VALUES (0, 'ALAT / ALT (chien)', 'UI/L', 0, 'Chien : intervalle de référence adulte (alanine aminotransférase).', 10, 125, 'Biochimie');
INSERT INTO LST_ANALYSIS (Id_File, Title, Unit, Decimal, Description, Value_Min, Value_Max, Category) VALUES (0, 'ALAT / ALT (chat)', 'UI/L', 0, 'Chat : intervalle de référence adulte (alanine aminotransférase).', 12, 130, 'Biochimie');
INSERT INTO LST_ANALYSIS (Id_File, Title, Unit, Decimal, Description, Value_Min, Value_Max, Category) VALUES (0, 'PAL - phosphatases alcalines (chien)', 'UI/L', 0, 'Chien : intervalle de référence adulte. Plus élevées chez le chiot en croissance.', 23, 212, 'Biochimie');
INSERT INTO LST_ANALYSIS (Id_File, Title, Unit, Decimal, Description, Value_Min, Value_Max, Category) VALUES (0, 'PAL - phosphatases alcalines (chat)', 'UI/L', 0, 'Chat : intervalle de référence adulte. Plus élevées chez le chaton en croissance.', 14, 111, 'Biochimie');
INSERT INTO LST_ANALYSIS (Id_File, Title, Unit, Decimal, Description, Value_Min, Value_Max, Category) VALUES (0, 'Protéines totales (chien)', 'g/L', 0, 'Chien : intervalle de référence adulte.', 52, 82, 'Biochimie');
INSERT INTO LST_ANALYSIS (Id_File, Title, Unit, Decimal, Description, Value_Min, Value_Max, Category) VALUES (0, 'Protéines totales (chat)', 'g/L', 0, 'Chat : intervalle de référence adulte.', 57, 89, 'Biochimie');
INSERT INTO LST_ANALYSIS (Id_File, Title, Unit, Decimal, Description, Value_Min, Value_Max, Category) VALUES (0, 'Albumine (chien)', 'g/L', 0, 'Chien : intervalle de référence adulte.', 23, 40, 'Biochimie');
INSERT INTO LST_ANALYSIS (Id_File, Title, Unit, Decimal, Description, Value_Min, Value_Max, Category) VALUES (0, 'Albumine (chat)', 'g/L', 0, 'Chat : intervalle de référence adulte.', 22, 40, 'Biochimie');
INSERT INTO LST_ANALYSIS (Id_File, Title, Unit, Decimal, Description, Value_Min, Value_Max, Category) VALUES (0, 'Cholestérol (chien)', 'mmol/L', 2, 'Chien : intervalle de référence adulte.', 2.84, 8.28, 'Biochimie');
INSERT INTO LST_ANALYSIS (Id_File, Title, Unit, Decimal, Description, Value_Min, Value_Max, Category) VALUES (0, 'Cholestérol (chat)', 'mmol/L', 2, 'Chat : intervalle de référence adulte.', 1.68, 5.82, 'Biochimie');
INSERT INTO LST_ANALYSIS (Id_File, Title, Unit, Decimal, Description, Value_Min, Value_Max, Category) VALUES (0, 'Bilirubine totale (chien)', 'µmol/L', 1, 'Chien : intervalle de référence adulte.', 0.0, 5.1, 'Biochimie');
INSERT INTO LST_ANALYSIS (Id_File, Title, Unit, Decimal, Description, Value_Min, Value_Max, Category) VALUES (0, 'Bilirubine totale (chat)', 'µmol/L', 1, 'Chat : intervalle de référence adulte.', 0.0, 5.1, 'Biochimie');
INSERT INTO LST_ANALYSIS (Id_File, Title, Unit, Decimal, Description, Value_Min, Value_Max, Category) VALUES (0, 'Phosphore (chien)', 'mmol/L', 2, 'Chien : intervalle de référence adulte. Plus élevé chez le chiot en croissance.', 0.81, 2.20, 'Biochimie');
INSERT INTO LST_ANALYSIS (Id_File, Title, Unit, Decimal, Description, Value_Min, Value_Max, Category) VALUES (0, 'Phosphore (chat)', 'mmol/L', 2, 'Chat : intervalle de référence adulte. Plus élevé chez le chaton en croissance.', 1.00, 2.42, 'Biochimie');
INSERT INTO LST_ANALYSIS (Id_File, Title, Unit, Decimal, Description, Value_Min, Value_Max, Category) VALUES (0, 'Calcium (chien)', 'mmol/L', 2, 'Chien : intervalle de référence adulte (calcium total).', 1.97, 2.99, 'Biochimie');
INSERT INTO LST_ANALYSIS (Id_File, Title, Unit, Decimal, Description, Value_Min, Value_Max, Category) VALUES (0, 'Calcium (chat)', 'mmol/L', 2, 'Chat : intervalle de référence adulte (calcium total).', 1.95, 2.82, 'Biochimie');
INSERT INTO LST_ANALYSIS (Id_File, Title, Unit, Decimal, Description, Value_Min, Value_Max, Category) VALUES (0, 'Potassium (chien)', 'mmol/L', 1, 'Chien : intervalle de référence adulte.', 3.5, 5.8, 'Biochimie');
INSERT INTO LST_ANALYSIS (Id_File, Title, Unit, Decimal, Description, Value_Min, Value_Max, Category) VALUES (0, 'Potassium (chat)', 'mmol/L', 1, 'Chat : intervalle de référence adulte.', 3.5, 5.8, 'Biochimie');
INSERT INTO LST_ANALYSIS (Id_File, Title, Unit, Decimal, Description, Value_Min, Value_Max, Category) VALUES (0, 'Sodium (chien)', 'mmol/L', 0, 'Chien : intervalle de référence adulte.', 144, 160, 'Biochimie');
INSERT INTO LST_ANALYSIS (Id_File, Title, Unit, Decimal, Description, Value_Min, Value_Max, Category) VALUES (0, 'Sodium (chat)', 'mmol/L', 0, 'Chat : intervalle de référence adulte.', 150, 165, 'Biochimie');
INSERT INTO LST_ANALYSIS (Id_File, Title, Unit, Decimal, Description, Value_Min, Value_Max, Category) VALUES (0, 'T4 totale (chien)', 'nmol/L', 0, 'Chien : intervalle de référence adulte. Une maladie intercurrente ou certains médicaments peuvent l''abaisser.', 13, 51, 'Biochimie');
INSERT INTO LST_ANALYSIS (Id_File, Title, Unit, Decimal, Description, Value_Min, Value_Max, Category) VALUES (0, 'T4 totale (chat)', 'nmol/L', 0, 'Chat : intervalle de référence adulte. Chez le chat âgé, une valeur dans la moitié haute n''exclut pas une hyperthyroïdie.', 10, 60, 'Biochimie');

-- Captions of the twelve custom fields; the last two are long texts.
INSERT INTO CUSTOMLAB (Id_File, Misc01, Misc02, Misc03, Misc04, Misc05, Misc06, Misc07, Misc08, Misc09, Misc10, Misc11, Misc12) VALUES (0, 'Vétérinaire traitant', 'Assurance (n° de contrat)', 'Alimentation', 'Tatouage', 'Passeport européen', 'LOF / LOOF', 'Père', 'Mère', 'Allergies', 'Couchage', 'Notes', 'Observations diverses');

-- Remembered values, one per line separated by CR LF.
INSERT INTO COMBOITEMS (Id_File, Misc01, Misc02, Misc03, Misc04, Misc05, Misc06, Misc07, Misc08, Misc09, Misc10, Location, Doctor_Category, BirthDay_City, Blood, Action_Gravity, Analysis_Unit, Sex, Color, Identification_Type, Identification_Location, Begin_Breeder, End_Type) VALUES (0, '', '', '', '', '', '', '', '', '', '', '',
 'Vétérinaire' || char(13,10) || 'Vétérinaire spécialiste' || char(13,10) || 'Urgences vétérinaires' || char(13,10) || 'Laboratoire d''analyses' || char(13,10) || 'Ostéopathe' || char(13,10) || 'Kinésithérapeute' || char(13,10) || 'Comportementaliste' || char(13,10) || 'Éducateur canin' || char(13,10) || 'Toiletteur' || char(13,10) || 'Pension' || char(13,10) || 'Maréchal-ferrant' || char(13,10) || 'Dentiste équin',
 '',
 'DEA 1 positif' || char(13,10) || 'DEA 1 négatif' || char(13,10) || 'A' || char(13,10) || 'B' || char(13,10) || 'AB',
 'Bénigne' || char(13,10) || 'Modérée' || char(13,10) || 'Grave',
 'g/L' || char(13,10) || 'g/dL' || char(13,10) || 'mg/L' || char(13,10) || 'mg/dL' || char(13,10) || 'mmol/L' || char(13,10) || 'µmol/L' || char(13,10) || 'nmol/L' || char(13,10) || 'pmol/L' || char(13,10) || 'µg/dL' || char(13,10) || 'UI/L' || char(13,10) || '%' || char(13,10) || '10^9/L' || char(13,10) || '10^12/L' || char(13,10) || 'fL' || char(13,10) || 'pg',
 'Mâle' || char(13,10) || 'Femelle' || char(13,10) || 'Mâle castré' || char(13,10) || 'Femelle stérilisée',
 'Noir' || char(13,10) || 'Blanc' || char(13,10) || 'Noir et blanc' || char(13,10) || 'Noir et feu' || char(13,10) || 'Fauve' || char(13,10) || 'Sable' || char(13,10) || 'Roux' || char(13,10) || 'Crème' || char(13,10) || 'Chocolat' || char(13,10) || 'Gris' || char(13,10) || 'Bleu' || char(13,10) || 'Bringé' || char(13,10) || 'Tricolore' || char(13,10) || 'Bleu merle' || char(13,10) || 'Rouge merle' || char(13,10) || 'Arlequin' || char(13,10) || 'Tigré' || char(13,10) || 'Écaille de tortue' || char(13,10) || 'Colourpoint' || char(13,10) || 'Bai' || char(13,10) || 'Alezan' || char(13,10) || 'Pie' || char(13,10) || 'Isabelle' || char(13,10) || 'Palomino',
 'Puce électronique' || char(13,10) || 'Transpondeur' || char(13,10) || 'Tatouage' || char(13,10) || 'Puce électronique et tatouage' || char(13,10) || 'Bague',
 'Cou (côté gauche)' || char(13,10) || 'Encolure (côté gauche)' || char(13,10) || 'Oreille droite' || char(13,10) || 'Oreille gauche' || char(13,10) || 'Cuisse droite' || char(13,10) || 'Cuisse gauche' || char(13,10) || 'Patte (bague)',
 '',
 'Décès' || char(13,10) || 'Euthanasie' || char(13,10) || 'Don' || char(13,10) || 'Vente' || char(13,10) || 'Adoption' || char(13,10) || 'Retour à l''éleveur' || char(13,10) || 'Perte' || char(13,10) || 'Fugue' || char(13,10) || 'Vol');
