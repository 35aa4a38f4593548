SET NOCOUNT ON
select top 1 FInterID into #q from QMAInfo where FTypeID = 1001300
select isnull(datediff(day, FDate, getdate()), 0) d from QMClientServiceLog, #q
drop table #q