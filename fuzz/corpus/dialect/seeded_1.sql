insert into QMClientServiceLog (FBillNo, FDate, FNote) values ('KF000003', getdate(), N'样品')
select @@IDENTITY